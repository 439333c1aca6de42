#!/usr/bin/env bash
# Makes the pictures of the dialogs in docs/ from the real windows (`make demo` runs
# it; the wizard's pages come from the demo itself): builds the Windows
# programs, shows each window under Wine on a private display (1024x768) and saves
# its picture as PNG. The scenes run in a Wine prefix of their own in which Wine
# draws window frames itself, as there is no window manager on the display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}/win32
cd "$root"
cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake >/dev/null
cmake --build "$build" -j2 --target setuvane_scenes

export SETUVANE_WINEPREFIX=$build/screenshots-prefix
scripts/wine-prefix.sh
# Without the menu builder switched off, Wine would make its menu folders in the home.
WINEPREFIX=$SETUVANE_WINEPREFIX WINEARCH=win32 WINEDEBUG=-all DISPLAY= \
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
WINEPREFIX=$SETUVANE_WINEPREFIX wineserver -w

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p docs
for scene in question1 question2 question3 question4 question0 question-menu choice problem problem-expanded; do
  scripts/wine-run.sh "$build/tests/dialogs/setuvane_scenes.exe" "$scene" "Z:$tmp/$scene.bmp"
  # No time stamps in the files, so that unchanged windows give unchanged files.
  convert "$tmp/$scene.bmp" -strip -define png:exclude-chunks=date,time "docs/screenshot-$scene.png"
  echo "docs/screenshot-$scene.png"
done
