#!/usr/bin/env bash
# Runs one Windows program under Wine: the build's private prefix, Polish ANSI code
# page (1250; SETUVANE_WINE_LOCALE=C.UTF-8 gives an English Windows, code page
# 1252), and a private X display started here and stopped when the program ends.
# Used by CTest as the cross-compiling emulator and by the demo. Runs that share a
# prefix take turns, since they share one wineserver and its desktop process.
set -u
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${SETUVANE_WINEPREFIX:-$here/../build/wineprefix}
export WINEARCH=${SETUVANE_WINEARCH:-win32} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
"$here/wine-prefix.sh" >/dev/null || exit 125

exec 8>"$WINEPREFIX/.run-lock"
flock 8

stop() {
  wineserver -k 2>/dev/null
  [ -n "${xvfb:-}" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
}
trap stop EXIT

if [ -z "${SETUVANE_KEEP_DISPLAY:-}" ]; then
  # A private display has no one listening: no sound drivers either (they would
  # only complain about the missing sound card).
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv="
  # -displayfd picks a free display number, so parallel runs never collide.
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${SETUVANE_SCREEN:-1024x768x24}" -nolisten tcp 3>"$fifo" 2>/dev/null &
  xvfb=$!
  read -r num <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$num"
fi

LC_ALL=${SETUVANE_WINE_LOCALE:-pl_PL.UTF-8} wine "$@"
