#!/usr/bin/env bash
# Package building: `setuvane-pack build` against Info-ZIP `zip -9 -P` on the same
# payload (bench/payload.sh: about 2,000 files, 110 MB of Debian's own files), both
# encrypting with the package password. Rounds alternate the two tools; the table
# gives the median wall and CPU times, the speed-up (zip's time over ours) and the
# sizes of the archives. Our build also checks the package first and writes the
# destination texts; zip also stores an entry for each folder.
#
# Environment: BUILD (build root, default "build"; the tool is taken from
# $BUILD/bench, as `make bench` builds it, else $BUILD/native), ROUNDS (default 5),
# WORK (scratch folder, default $BUILD/build-bench), PACK (the setuvane-pack to
# measure, instead of the one found under BUILD).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$here/$BUILD ;; esac
ROUNDS=${ROUNDS:-5}
WORK=${WORK:-$BUILD/build-bench}
PASSWORD=tarnwick

pack=${PACK:-}
for candidate in "$BUILD/bench/tools/setuvane-pack" "$BUILD/native/tools/setuvane-pack"; do
  if [ -z "$pack" ] && [ -x "$candidate" ]; then pack=$candidate; fi
done
if [ -z "$pack" ]; then
  echo "build_vs_zip: no setuvane-pack under $BUILD/bench or $BUILD/native; build it first" >&2
  exit 1
fi
command -v zip >/dev/null || { echo "build_vs_zip: zip is missing" >&2; exit 1; }

payload=$WORK/payload
bash "$here/bench/payload.sh" "$payload" >/dev/null
# The setup files every package needs, and a manifest that puts the payload below
# the program folder, each subfolder with its own destination.
printf 'INSTALL_TASK_TITLE=Benchmark\r\n' >"$payload/install.inf"
for name in registry.inf shortcut.inf license.inf readme.inf; do printf '\r\n' >"$payload/$name"; done
printf '[setup]\ninstall.inf\nregistry.inf\nshortcut.inf\nlicense.inf\nreadme.inf\n[<programfolder>]\nfiles\n' \
  >"$payload/manifest.txt"

# build TOOL OUTPUT
build() {
  case $1 in
    setuvane) "$pack" build -o "$2" "$payload/manifest.txt" >/dev/null ;;
    zip) (cd "$payload/files" && zip -q -r -X -9 -P "$PASSWORD" "$2" .) ;;
  esac
}

tools=(zip setuvane)
results=$WORK/times.txt
: >"$results"
TIMEFORMAT='%R %U %S'
for round in $(seq 0 "$ROUNDS"); do
  for i in "${!tools[@]}"; do
    tool=${tools[$(( (i + round) % ${#tools[@]} ))]}   # alternate which runs first
    out=$WORK/$tool.zip
    rm -f "$out"
    sync
    times=$( { time build "$tool" "$out" 2>/dev/null; } 2>&1 )
    [ "$round" -eq 0 ] && continue                      # the first round warms the caches
    echo "$tool $times" | awk '{printf "%s %.3f %.3f\n", $1, $2, $3 + $4}' >>"$results"
  done
done

median() {  # TOOL COLUMN
  awk -v t="$1" -v c="$2" '$1 == t {print $c}' "$results" | sort -g |
    awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
files=$(wc -l <"$payload/list.txt")
bytes=$(du -sb "$payload/files" | cut -f1)
echo "build_vs_zip: $files files, $((bytes / 1000000)) MB, $ROUNDS rounds, $(nproc) cores; medians"
printf '%-10s %10s %10s %14s\n' tool wall cpu archive
for tool in "${tools[@]}"; do
  printf '%-10s %9.3fs %9.3fs %14d\n' "$tool" "$(median "$tool" 2)" "$(median "$tool" 3)" "$(stat -c %s "$WORK/$tool.zip")"
done
awk -v z="$(median zip 2)" -v s="$(median setuvane 2)" -v zc="$(median zip 3)" -v sc="$(median setuvane 3)" \
    -v zb="$(stat -c %s "$WORK/zip.zip")" -v sb="$(stat -c %s "$WORK/setuvane.zip")" \
  'BEGIN {printf "speed-up %.2fx (wall), %.2fx (cpu); archive %.3f of zip'"'"'s\n", z / s, zc / sc, sb / zb}'
