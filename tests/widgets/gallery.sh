#!/usr/bin/env bash
# Saves a picture of the flat controls, drawn by the real controls under Wine, as
# docs/widgets.png. Usage: tests/widgets/gallery.sh [windows-build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
cmake --build "$build" --target widgets_controls_win32_test >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
SETUVANE_WINEPREFIX=${SETUVANE_WINEPREFIX:-$build/wineprefix} SETUVANE_WIDGETS_GALLERY='Z:'"${out//\//\\}"'\gallery.bmp' \
  "$root/scripts/wine-run.sh" "$build/tests/widgets/widgets_controls_win32_test.exe" --gtest_filter='Gallery.*' >/dev/null
mkdir -p "$root/docs"
convert "$out/gallery.bmp" "$root/docs/widgets.png"
echo "wrote $root/docs/widgets.png"
