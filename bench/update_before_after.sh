#!/usr/bin/env bash
# An installer against an earlier build of it under Wine, in one Wine session, the
# two taking turns round after round (bench/install_timer_win32.cpp), on the payload
# of bench/payload.sh:
#   over    /VERYSILENT over an installation of the same payload, every file replaced
#           (each installer into a folder of its own, again and again, as a product
#           of its own)
#   first   /VERYSILENT as a first installation, each run into a new folder
# Prints each installer's median and the median of the rounds' own ratios
# (this build / BEFORE; lower is faster).
#
#   BEFORE=/work/main/build/win32/core/setuvane.exe bash bench/update_before_after.sh
#
# Environment: BEFORE (required), BUILD (default "build"), ROUNDS (default 7), WORK
# (default $BUILD/update-bench), PACK (default the native build's setuvane-pack).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$here/$BUILD ;; esac
ROUNDS=${ROUNDS:-7}
WORK=${WORK:-$BUILD/update-bench}
PACK=${PACK:-$BUILD/native/tools/setuvane-pack}
win32=$BUILD/win32
: "${BEFORE:?update_before_after: BEFORE names the earlier setuvane.exe}"
for needed in "$PACK" "$win32/core/setuvane.exe" "$win32/bench/setuvane_install_timer.exe" "$BEFORE"; do
  [ -f "$needed" ] || { echo "update_before_after: $needed is missing; build first (make native win32)" >&2; exit 1; }
done

mkdir -p "$WORK"
bash "$here/bench/payload.sh" "$WORK/payload"

# A medium of the payload for `installer` (this or before), of the product `id`
# (none: the title's, which the timer removes before each first installation).
medium() {
  local dir=$WORK/$1-$2 exe=$3 id=$2
  rm -rf "$dir" && mkdir -p "$dir/setup"
  printf 'INSTALL_TASK_TITLE=Benchmark\r\nINSTALL_MAIN_TITLE=Benchmark\r\n' >"$dir/setup/install.inf"
  [ "$id" = first ] || printf 'PRODUCT_ID=Benchmark-%s\r\n' "$1" >>"$dir/setup/install.inf"
  for f in license.inf readme.inf; do printf 'Benchmark\r\n' >"$dir/setup/$f"; done
  : >"$dir/setup/registry.inf"
  : >"$dir/setup/shortcut.inf"
  printf '[setup]\nsetup/*\n[<programfolder>]\n%s\n' "$WORK/payload/files" >"$dir/manifest.txt"
  "$PACK" build -o "$dir/install.zip" "$dir/manifest.txt" >/dev/null
  cp "$exe" "$dir/setuvane.exe"
}
for kind in over first; do
  medium this "$kind" "$win32/core/setuvane.exe"
  medium before "$kind" "$BEFORE"
done

z() { echo "Z:$(echo "$1" | tr / '\\')"; }
for kind in over first; do
  targets=$WORK/targets-$kind
  rm -rf "$targets" && mkdir -p "$targets"
  flag=
  [ "$kind" = over ] && flag=--over
  echo "update_before_after: $kind, $ROUNDS rounds"
  SETUVANE_WINEPREFIX=$win32/wineprefix "$here/scripts/wine-run.sh" "$win32/bench/setuvane_install_timer.exe" \
    $flag "$ROUNDS" "$(z "$targets")" \
    "this=\"$(z "$WORK/this-$kind/setuvane.exe")\" /VERYSILENT /DIR={dir}" \
    "before=\"$(z "$WORK/before-$kind/setuvane.exe")\" /VERYSILENT /DIR={dir}" 2>"$WORK/rounds-$kind.log"
  # The ratio of each round (round 0 warms up, and over makes the installations).
  awk '$2 > 0 && $3 == "this" { a[$2] = $4 } $2 > 0 && $3 == "before" { b[$2] = $4 }
       END { for (r in a) if (r in b) print a[r] / b[r] }' "$WORK/rounds-$kind.log" | sort -g |
    awk '{ q[NR] = $1 } END { printf "pairwise median this/before %.3f (from %.3f to %.3f, %d rounds)\n",
                              q[int((NR + 1) / 2)], q[1], q[NR], NR }'
  rm -rf "$targets"
done
