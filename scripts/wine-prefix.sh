#!/usr/bin/env bash
# Creates the private Wine prefix once (32-bit; 64-bit with SETUVANE_WINEARCH=win64);
# later calls return at once.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${SETUVANE_WINEPREFIX:-$here/../build/wineprefix}
export WINEARCH=${SETUVANE_WINEARCH:-win32} WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine links a new prefix's shell folders (Desktop, Documents, Music...) under
# drive_c/users/<user>/ to the Unix home: a shortcut or file that a test or the demo
# writes there would land in the home folder, or on the user's real desktop.
linked() { [ -n "$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -type l 2>/dev/null)" ]; }
[ -f "$WINEPREFIX/.setuvane-ready" ] && ! linked && exit 0
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.lock"
flock 9
[ -f "$WINEPREFIX/.setuvane-ready" ] && ! linked && exit 0
if [ ! -f "$WINEPREFIX/.setuvane-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX" >&2
  DISPLAY= LC_ALL=pl_PL.UTF-8 wineboot -i >/dev/null 2>&1
  wineserver -w
  # The windows are drawn in Tahoma; Wine ships it (and Marlett, for the frame buttons
  # it draws itself) but this Wine finds fonts only in the prefix's font folder.
  cp /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
# Each such link becomes a real folder inside the prefix (also in a prefix made
# before this rule).
find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -type l | while IFS= read -r link; do
  rm -f "$link"
  mkdir -p "$link"
done
touch "$WINEPREFIX/.setuvane-ready"
