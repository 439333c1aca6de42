#!/usr/bin/env bash
# Creates the private Wine prefix once (32-bit; 64-bit with SETUVANE_WINEARCH=win64);
# later calls return at once.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${SETUVANE_WINEPREFIX:-$here/../build/wineprefix}
export WINEARCH=${SETUVANE_WINEARCH:-win32} WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
[ -f "$WINEPREFIX/.setuvane-ready" ] && exit 0
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.lock"
flock 9
[ -f "$WINEPREFIX/.setuvane-ready" ] && exit 0
echo "wine-prefix: creating $WINEPREFIX" >&2
DISPLAY= LC_ALL=pl_PL.UTF-8 wineboot -i >/dev/null 2>&1
wineserver -w
# The windows are drawn in Tahoma; Wine ships it (and Marlett, for the frame buttons
# it draws itself) but this Wine finds fonts only in the prefix's font folder.
cp /usr/share/wine/fonts/{tahoma,tahomabd,marlett}.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
touch "$WINEPREFIX/.setuvane-ready"
