#!/usr/bin/env bash
# Installation speed under Wine: Setuvane against an NSIS 3 installer of the same
# files (zlib compression, as Setuvane's packages are deflate), side by side in one
# run of one Wine session:
#   nsis-silent   the NSIS installer with /S (no window)
#   nsis-window   the NSIS installer showing its progress page (instfiles, closing itself)
#   verysilent    setuvane.exe /VERYSILENT /DIR=... (no window)
#   wizard        setuvane.exe with its whole wizard on screen, timed from the click on
#                 "Następny >" on the folder page to the completion page
#   single-file   setup.exe, the same package inside setuvane.exe, /VERYSILENT /DIR=...
#                 (its package checked whole at start-up); also as a ratio to verysilent
#   nsis-lzma     an NSIS installer of the same files with SetCompressor /SOLID lzma, /S
#   solid         setup.exe built with --solid (one LZMA2 stream), /VERYSILENT /DIR=...;
#                 also as a ratio to nsis-lzma, in time and in size
# Each is timed by bench/install_timer_win32.cpp inside Wine, as a process from start
# to end (the wizard by its window); the payload is bench/payload.sh's (about 2,000
# files, 110 MB). Ratios are to nsis-silent (lower is faster).
#
# Environment: BUILD (default "build"), ROUNDS (default 5), WORK (default
# $BUILD/install-bench), PACK (the setuvane-pack that builds install.zip; default the
# native build's).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$here/$BUILD ;; esac
ROUNDS=${ROUNDS:-5}
WORK=${WORK:-$BUILD/install-bench}
PACK=${PACK:-$BUILD/native/tools/setuvane-pack}
win32=$BUILD/win32
for needed in "$PACK" "$win32/core/setuvane.exe" "$win32/bench/setuvane_install_timer.exe" \
  "$win32/bench/setuvane_package_check_timer.exe"; do
  [ -x "$needed" ] || { echo "install_vs_nsis: $needed is missing; build first (make native win32)" >&2; exit 1; }
done
command -v makensis >/dev/null || { echo "install_vs_nsis: makensis is missing (scripts/install-deps.sh)" >&2; exit 1; }

mkdir -p "$WORK"
bash "$here/bench/payload.sh" "$WORK/payload"
files=$WORK/payload/files

# The same files as a Setuvane medium: setup files and the payload below the program folder.
medium=$WORK/medium
rm -rf "$medium" && mkdir -p "$medium/setup"
printf 'INSTALL_TASK_TITLE=Benchmark\r\nINSTALL_MAIN_TITLE=Benchmark\r\nPRODUCT_ID=Benchmark\r\nPRODUCT_VERSION=1.0\r\n' >"$medium/setup/install.inf"
for f in license.inf readme.inf registry.inf shortcut.inf; do printf 'Benchmark\r\n' >"$medium/setup/$f"; done
: >"$medium/setup/registry.inf"
: >"$medium/setup/shortcut.inf"
cat >"$medium/manifest.txt" <<MANIFEST
[setup]
setup/*
[<programfolder>]
$files
MANIFEST
"$PACK" build -o "$medium/install.zip" "$medium/manifest.txt" >/dev/null
cp "$win32/core/setuvane.exe" "$medium/"
# The same package as a single file, alone in its folder; and one storing every
# entry, so that the check at start-up reads the payload's full 110 MB.
single=$WORK/single
rm -rf "$single" && mkdir -p "$single"
"$PACK" build --installer "$win32/core/setuvane.exe" -o "$single/setup.exe" "$medium/manifest.txt" >/dev/null
"$PACK" build --level 0 --installer "$win32/core/setuvane.exe" -o "$WORK/stored.exe" "$medium/manifest.txt" >/dev/null
# The same package as one stream, alone in its folder (made once: LZMA's strongest
# preset takes about a minute for the payload).
solid=$WORK/solid
if [ ! -f "$solid/setup.exe" ] || [ "$solid/setup.exe" -ot "$PACK" ] || [ "$solid/setup.exe" -ot "$win32/core/setuvane.exe" ]; then
  rm -rf "$solid" && mkdir -p "$solid"
  "$PACK" build --solid --installer "$win32/core/setuvane.exe" -o "$solid/setup.exe" "$medium/manifest.txt" >/dev/null
fi

# The NSIS installer: one exe serves both runs (/S skips its page).
cat >"$WORK/nsis.nsi" <<NSI
Unicode true
SetCompressor zlib
Name "Benchmark"
OutFile "$WORK/nsis-setup.exe"
InstallDir "C:\\Benchmark"
RequestExecutionLevel user
AutoCloseWindow true
Page instfiles
Section
  SetOutPath "\$INSTDIR"
  File /r "$files/*"
SectionEnd
NSI
makensis -V1 "$WORK/nsis.nsi"
# NSIS at its smallest, as vendors ship it: one LZMA stream across the files.
sed -e 's|^SetCompressor zlib|SetCompressor /SOLID lzma|' -e "s|nsis-setup.exe|nsis-lzma.exe|" "$WORK/nsis.nsi" >"$WORK/nsis-lzma.nsi"
[ -f "$WORK/nsis-lzma.exe" ] && [ "$WORK/nsis-lzma.exe" -nt "$WORK/payload/payload.done" ] || makensis -V1 "$WORK/nsis-lzma.nsi"

# Targets are removed only when the script ends, and a new run first waits until
# 65 s have passed since: for 60 s (the freed inodes' table written out by the sync
# below) ext4 passes over recently freed inodes when it makes files, which would
# slow every installer of the next run alike by a cost no user's machine has (the
# installers being timed do little else than make files).
targets=$WORK/targets
stamp=$WORK/deleted-at
remove_targets() { rm -rf "$targets"; sync; date +%s >"$stamp"; }
[ -d "$targets" ] && remove_targets
if [ -f "$stamp" ]; then
  wait_s=$(( $(cat "$stamp") + 65 - $(date +%s) ))
  [ "$wait_s" -gt 0 ] && { echo "install_vs_nsis: waiting ${wait_s} s after the last deletion" >&2; sleep "$wait_s"; }
fi
mkdir -p "$targets"
echo "install_vs_nsis: $(wc -l <"$WORK/payload/list.txt") files, $(du -sb "$files" | cut -f1) bytes;" \
     "install.zip $(stat -c %s "$medium/install.zip") bytes, NSIS $(stat -c %s "$WORK/nsis-setup.exe") bytes;" \
     "solid setup.exe $(stat -c %s "$solid/setup.exe") bytes, NSIS /SOLID lzma $(stat -c %s "$WORK/nsis-lzma.exe") bytes" \
     "(size ratio $(awk -v a="$(stat -c %s "$solid/setup.exe")" -v b="$(stat -c %s "$WORK/nsis-lzma.exe")" 'BEGIN { printf "%.3f", a / b }')); $ROUNDS rounds"
z() { echo "Z:$(echo "$1" | tr / '\\')"; }
SETUVANE_WINEPREFIX=$win32/wineprefix "$here/scripts/wine-run.sh" "$win32/bench/setuvane_install_timer.exe" \
  "$ROUNDS" "$(z "$targets")" \
  "nsis-silent=$(z "$WORK/nsis-setup.exe") /S /D={dir}" \
  "nsis-window=$(z "$WORK/nsis-setup.exe") /D={dir}" \
  "verysilent=\"$(z "$medium/setuvane.exe")\" /VERYSILENT /DIR={dir}" \
  "wizard=$(z "$medium/setuvane.exe")" \
  "single-file=\"$(z "$single/setup.exe")\" /VERYSILENT /DIR={dir}" \
  "nsis-lzma=$(z "$WORK/nsis-lzma.exe") /S /D={dir}" \
  "solid=\"$(z "$solid/setup.exe")\" /VERYSILENT /DIR={dir}" 2>"$WORK/rounds.log" | tee "$WORK/result.txt" |
  awk '/nsis-silent/ { base = $3 } /^verysilent/ { folder = $3 } /^nsis-lzma/ { lzma = $3 } { lines[NR] = $0; med[NR] = $3 }
       END { for (i = 1; i <= NR; i++) printf "%s  ratio %.2f%s\n", lines[i], med[i] / base,
             lines[i] ~ /^single-file/ ? sprintf("  to verysilent %.2f", med[i] / folder) :
             lines[i] ~ /^solid/ ? sprintf("  to nsis-lzma %.2f", med[i] / lzma) : "" }'
# Every run must have installed the whole payload (Setuvane's beside its uninstaller
# and record).
expected=$(wc -l <"$WORK/payload/list.txt")
for target in "$targets"/*; do
  got=$(find "$target" -type f ! -name uninstall.exe ! -name uninstall.dat | wc -l)
  [ "$got" -eq "$expected" ] || echo "install_vs_nsis: $(basename "$target") holds $got files, not $expected" >&2
done
remove_targets
echo "install_vs_nsis: the check of a single file's package at start-up (read whole and summed):"
SETUVANE_WINEPREFIX=$win32/wineprefix "$here/scripts/wine-run.sh" "$win32/bench/setuvane_package_check_timer.exe" \
  "$ROUNDS" "$(z "$single/setup.exe")" "$(z "$WORK/stored.exe")"
