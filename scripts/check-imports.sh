#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that is not one of the system DLLs that
# Windows always loads from its system folder (a DLL beside the installer on a shared
# medium must never be picked up instead).
set -eu
exe=$1
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comdlg32|shlwapi|msvcrt)\.dll$'
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "$(basename "$exe") imports: $(echo $dlls)"
bad=$(echo "$dlls" | grep -v -E "$allowed" || true)
if [ -n "$bad" ]; then
  echo "not a system DLL: $bad" >&2
  exit 1
fi
