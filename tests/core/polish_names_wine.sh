#!/usr/bin/env bash
# Polish names on an English Windows (Wine with code page 1252): setuvane-pack.exe
# builds a package from UTF-8 sources whose program folder, files, registry key and
# values, shortcut, title and publisher are Polish; the installer installs it
# unattended and its uninstaller removes it. Each name is checked on the Unix side,
# in regedit's exports and in the shortcut file, and a value the installation
# replaced comes back byte for byte. Then temporary folders the code page cannot
# name (C:\users\Łukasz\Temp on 1252, a Cyrillic one on 1250), and Windows 98
# reported (the ANSI calls): a program folder its code page cannot hold is refused
# with its report before anything is written.
#   polish_names_wine.sh SETUVANE-PACK.EXE SETUVANE.EXE OUT
set -euo pipefail
pack=$1 installer=$2 out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
run=$root/scripts/wine-run.sh
prefix=${SETUVANE_WINEPREFIX:-$root/build/wineprefix}
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
fail() { echo "FAILED: $*"; exit 1; }
english() { SETUVANE_WINE_LOCALE=C.UTF-8 "$run" "$@"; }
crlf() { printf '%s\r\n' "$@"; }
# KEY FILE: the key as regedit exports it, UTF-8 without CRs; empty when it is missing.
exported() {
  rm -f "$2"
  english regedit /e "$(winpath "$2")" "$1" >/dev/null 2>&1 || true
  if [ -f "$2" ]; then iconv -f UTF-16 -t UTF-8 "$2" | tr -d '\r'; fi
}
has() { grep -qF -- "$2" <<<"$1" || fail "$3: no $2 in"$'\n'"$1"; }

rm -rf "$out"
mkdir -p "$out/source/setup" "$out/source/produkt/dane" "$out/nośnik"
folder="$out/Źródła Żółwia"
program=$(winpath "$folder")
cd "$out/source"
crlf "INSTALL_TASK_TITLE=Instalator Zażółć" "INSTALL_MAIN_TITLE=Zażółć Notatnik" "PRODUCT_VERSION=1.0" \
  "PRODUCT_PUBLISHER=Łódzka Spółka" "PRODUCT_ID=Łódzka Spółka Zażółć Notatnik" "PRODUCT_LOCATION=$program\\" \
  >setup/install.inf
crlf "Umowa licencyjna" >setup/license.inf
crlf "O produkcie" >setup/readme.inf
crlf '+hcu\Software\Łódź\Notatnik' '-str:Ścieżka=<programfolder>żółw.txt' \
  '+hcu\\Software\Łódź\Wspólne' '-str:Język=pl' >setup/registry.inf
crlf '{<menustartfolder>Programy\Łódź\Zażółć.lnk' '-lnk=<programfolder>żółw.txt' '-dsc=Zażółć gęślą jaźń' '}' \
  >setup/shortcut.inf
printf żółw >produkt/żółw.txt
printf łąka >produkt/dane/łąka.txt
printf '[setup]\nsetup/*\n[<programfolder>]\nprodukt/żółw.txt\n[<programfolder>Dane gęśli]\nprodukt/dane\n' >manifest.txt
cd "$out"

# The tool on 1252: Polish paths in, Polish names out (the console's UTF-8).
built=$(english "$pack" build --from-utf8 --strict -o "$(winpath "$out/nośnik/install.zip")" \
  "$(winpath "$out/source/manifest.txt")") || fail "setuvane-pack build: $built"
has "$built" 'nośnik\install.zip: 7 entries' "the build's line"
listed=$(english "$pack" list "$(winpath "$out/nośnik/install.zip")")
has "$listed" 'żółw.txt -> <programfolder>' "the list"
has "$listed" 'łąka.txt -> <programfolder>Dane gęśli' "the list"
cp "$installer" nośnik/setuvane.exe

# A value of the user's that the installation replaces, and the installation.
english cmd /c 'reg delete HKCU\Software\Łódź /f >NUL 2>NUL & reg add HKCU\Software\Łódź\Wspólne /v Język /d Ślązak /f' \
  >/dev/null
code=0
english "$(winpath "$out/nośnik/setuvane.exe")" /VERYSILENT "/LOG=$(winpath "$out/instalacja.log")" || code=$?
[ "$code" = 0 ] || { cat instalacja.log; fail "the installation ended with $code"; }
[ "$(cat "$folder/żółw.txt")" = żółw ] || fail "no $folder/żółw.txt: $(find "$out" -path "$out/source" -prune -o -print)"
[ "$(cat "$folder/Dane gęśli/łąka.txt")" = łąka ] || fail "no $folder/Dane gęśli/łąka.txt"
[ -f "$folder/uninstall.exe" ] && head -1 "$folder/uninstall.dat" | grep -q "RECORD 2" || fail "no uninstaller"
log=$(cat instalacja.log)
has "$log" "folder: $program\\" "the log"
has "$log" "file: $program\\żółw.txt" "the log"
has "$log" "registry value: HKEY_CURRENT_USER\\Software\\Łódź\\Notatnik \"Ścieżka\" REG_SZ \"$program\\żółw.txt\"" "the log"
link=$(find "$prefix/drive_c" -name Zażółć.lnk -path '*/Programy/Łódź/*')
[ -n "$link" ] || fail "no shortcut Programy/Łódź/Zażółć.lnk"
/usr/bin/python3 - "$link" "$program" <<'PY' || fail "the shortcut"
import sys
data, folder = open(sys.argv[1], "rb").read(), sys.argv[2]
for text in ("żółw.txt", folder + "\\", "Zażółć gęślą jaźń"):
    assert text.encode("utf-16-le") in data, text
PY
escaped=${program//\\/\\\\}
user=$(exported 'HKEY_CURRENT_USER\Software\Łódź' user.reg)
has "$user" '[HKEY_CURRENT_USER\Software\Łódź\Notatnik]' "the user's registry"
has "$user" "\"Ścieżka\"=\"$escaped\\\\żółw.txt\"" "the user's registry"
has "$user" '"Język"="pl"' "the user's registry"
entryKey='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Łódzka Spółka Zażółć Notatnik'
entry=$(exported "$entryKey" entry.reg)
has "$entry" '"DisplayName"="Zażółć Notatnik"' "the uninstall entry"
has "$entry" '"Publisher"="Łódzka Spółka"' "the uninstall entry"
has "$entry" "\"InstallLocation\"=\"$escaped\\\\\"" "the uninstall entry"

# The uninstallation, as a deployment tool starts it.
code=0
english "$program\\uninstall.exe" /UNINSTALL /VERYSILENT "/LOG=$(winpath "$out/usuwanie.log")" || code=$?
[ "$code" = 0 ] || { cat usuwanie.log; fail "the uninstallation ended with $code"; }
[ ! -e "$folder" ] || fail "left: $(find "$folder")"
[ -z "$(find "$prefix/drive_c" -name Zażółć.lnk)" ] || fail "the shortcut stays"
user=$(exported 'HKEY_CURRENT_USER\Software\Łódź' user.reg)
[ "$(grep -c '^\[' <<<"$user")" = 2 ] || fail "keys left: $user"
has "$user" '"Język"="Ślązak"' "the value restored"
[ -z "$(exported "$entryKey" entry.reg)" ] || fail "the uninstall entry stays"

# A temporary folder the system's code page cannot name, installed into and removed
# from. USER TARGET LOCALE: TEMP and TMP set by cmd, which hands them to the programs
# it starts (Wine takes them from the registry otherwise).
withTemp() {
  local temp="C:\\users\\$1\\Temp" target=$2
  mkdir -p "$prefix/drive_c/users/$1/Temp"
  local set="set TEMP=$temp&& set TMP=$temp&&"
  SETUVANE_WINE_LOCALE=$3 "$run" cmd /c "$set $(winpath "$out/nośnik/setuvane.exe") /VERYSILENT /DIR=$(winpath "$target")" \
    || fail "installing with TEMP=$temp ended with $?"
  [ "$(cat "$target/żółw.txt")" = żółw ] || fail "nothing installed with TEMP=$temp"
  SETUVANE_WINE_LOCALE=$3 "$run" cmd /c "$set $(winpath "$target")\\uninstall.exe /UNINSTALL /VERYSILENT" \
    || fail "removing with TEMP=$temp ended with $?"
  [ ! -e "$target" ] || fail "left with TEMP=$temp: $(find "$target")"
  rm -rf "${prefix:?}/drive_c/users/$1"
}
withTemp Łukasz "$out/lukasz" C.UTF-8
withTemp Пользователь "$out/cyrillic" pl_PL.UTF-8

# Windows 98 reported, ANSI calls forced, code page 1252: "Źródła Żółwia" is refused
# on the folder page (exit code 3), nothing is written.
mkdir -p medium98
cp nośnik/install.zip medium98/
cp "$installer" medium98/instaluj98.exe
defaults='HKCU\Software\Wine\AppDefaults\instaluj98.exe'
SETUVANE_ANSI_WINDOWS=1 english cmd /c "reg add $defaults /v Version /d win98 /f >NUL && \
$(winpath "$out/medium98/instaluj98.exe") /VERYSILENT /LOG=$(winpath "$out/win98.log") & reg delete $defaults /f >NUL" \
  || true
log=$(cat win98.log)
has "$log" "problem: Nieprawidłowa ścieżka / Sprecyzowana lokalizacja aplikacji nie może zostać zaakceptowana. / \
Nazwa katalogu zawiera znaki, których nie obsługuje strona kodowa tego systemu Windows." "the Windows 98 log"
has "$log" "exit code 3" "the Windows 98 log"
[ ! -e "$folder" ] || fail "Windows 98 wrote $folder"
english cmd /c 'reg delete HKCU\Software\Łódź /f' >/dev/null
echo "Polish names: right on code pages 1252 and 1250, removed again; refused with a report on Windows 98"
