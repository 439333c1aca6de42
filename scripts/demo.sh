#!/usr/bin/env bash
# `make demo`: builds Setuvane, makes the demo medium of examples/demo (setuvane.exe,
# install.zip built by setuvane-pack, the looping sound, a component folder with a
# small silent installer) and installs the sample product from it under Wine; then
# makes the same product into one signed setup.exe and installs that unattended.
#
# With a desktop (DISPLAY set) the wizard opens there and you click through it.
# Without one it runs on a private Xvfb: a walker clicks through the six pages as a
# person would, a picture of each page (and of an unattended /SILENT run) is saved
# into docs/, and what the installation did is printed from its log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${BUILD:-$root/build}
case $build in /*) ;; *) build=$root/$build ;; esac
make --no-print-directory BUILD="$build" native win32

demo=$build/demo
stage=$demo/source
medium=$demo/medium
rm -rf "$stage" "$medium"
mkdir -p "$stage" "$medium/supfont"
cp -r examples/demo/manifest.txt examples/demo/setup examples/demo/product "$stage/"
python3 examples/demo/make_media.py "$demo/media"
cp "$demo/media/install.bmp" "$stage/setup/"
mkdir -p "$stage/product/bin"
cp "$build/win32/examples/demo/notatnik.exe" "$stage/product/bin/"
cp "$build/win32/core/setuvane.exe" "$demo/media/install.wav" "$medium/"
cp "$build/win32/examples/demo/setuvane_demo_component.exe" "$medium/supfont/setup.exe"
"$build/native/tools/setuvane-pack" build --from-utf8 -o "$medium/install.zip" "$stage/manifest.txt"
echo "demo: the medium is $medium"

# The same product as one signed file, as it would be offered for download: a
# throw-away code-signing certificate of the demo's own signs it.
single=$demo/single
rm -rf "$single" && mkdir -p "$single"
"$build/native/tools/setuvane-pack" build --from-utf8 --installer "$build/win32/core/setuvane.exe" \
  -o "$single/setup.exe" "$stage/manifest.txt"
certificate=$demo/certificate
if [ ! -f "$certificate/demo.p12" ]; then
  mkdir -p "$certificate"
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$certificate/demo.key" -out "$certificate/demo.pem" \
    -days 3650 -subj "/CN=Quorbalite (demo)/O=Quorbalite" 2>/dev/null
  openssl pkcs12 -export -inkey "$certificate/demo.key" -in "$certificate/demo.pem" -out "$certificate/demo.p12" \
    -passout pass:demo
fi
"$build/native/tools/setuvane-pack" sign --pkcs12 "$certificate/demo.p12" --pass demo "$single/setup.exe" >/dev/null
osslsigncode verify -in "$single/setup.exe" -CAfile "$certificate/demo.pem" >"$single/verify.txt" ||
  { cat "$single/verify.txt"; exit 1; }
echo "demo: the signed single file is $single/setup.exe (osslsigncode verify: $(grep -m1 -o 'Signature verification: ok' "$single/verify.txt"))"
"$build/native/tools/setuvane-pack" winget "$single/setup.exe" --id Quorbalite.Notatnik \
  --url https://quorbalite.example/notatnik/setup.exe -o "$single/winget" >/dev/null
echo "demo: its winget manifest is in $single/winget"

# A Wine prefix of the demo's own; an earlier demo's product is removed first, so
# that every run installs afresh (the demo ends by uninstalling it).
export SETUVANE_WINEPREFIX=$demo/wineprefix
program="$SETUVANE_WINEPREFIX/drive_c/Program Files/Quorbalite"
rm -rf "$program" "$SETUVANE_WINEPREFIX/drive_c/Quorbalite "* "$demo/install.log" "$demo/pictures"
mkdir -p "$demo/pictures"
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: the installer opens on your display"
  SETUVANE_KEEP_DISPLAY=1 scripts/wine-run.sh "$(winpath "$medium/setuvane.exe")" "/LOG=$(winpath "$demo/install.log")" || true
else
  scripts/wine-run.sh "$build/win32/examples/demo/setuvane_demo_walker.exe" "$(winpath "$medium/setuvane.exe")" \
    "$(winpath "$demo/pictures")" "$(winpath "$demo/install.log")" 'C:\Quorbalite Cichy'
  for picture in "$demo"/pictures/*.bmp; do
    name=$(basename "$picture" .bmp)
    # No time stamps in the files, so that unchanged pages give unchanged files.
    convert "$picture" -crop 730x535+0+0 +repage -strip -define png:exclude-chunks=date,time "docs/$name.png"
  done
  echo "demo: pictures of the pages in docs/ ($(cd docs && ls page*.png silent.png | tr '\n' ' '))"
  BUILD="$build" scripts/screenshots.sh
fi

# The single file, alone in its folder, installs unattended.
scripts/wine-run.sh "$(winpath "$single/setup.exe")" /VERYSILENT '/DIR=C:\Quorbalite Jeden Plik' \
  "/LOG=$(winpath "$single/install.log")"
echo "demo: setup.exe installed $(grep -c '^.\{21\}file: ' "$single/install.log") files into C:\Quorbalite Jeden Plik (log: $single/install.log)"

if [ -f "$demo/install.log" ]; then
  echo "demo: what the installation did (from its log, $demo/install.log):"
  cut -c22- "$demo/install.log" | tr -d '\r' | sed 's/^/  /'
fi

# The end: the product is removed as a deployment tool would remove it, with the
# command its entry among the installed programs (under its PRODUCT_ID) gives (both
# installations above share that entry: one uninstallation removes what both made).
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{3B0E9C47-5A21-4D8F-9E6B-2C7F1A4D8E90}'
quiet=$(scripts/wine-run.sh reg.exe query "$entry" /v QuietUninstallString 2>/dev/null | tr -d '\r' |
  sed -n 's/.*QuietUninstallString *REG_SZ *//p' || true)
uninstaller=$(echo "$quiet" | sed -n 's/^"\([^"]*\)".*/\1/p')
if [ -n "$uninstaller" ]; then
  echo "demo: uninstalling with the entry's QuietUninstallString: $quiet"
  rm -f "$demo/uninstall.log"
  code=0
  scripts/wine-run.sh "$uninstaller" /UNINSTALL /VERYSILENT "/LOG=$(winpath "$demo/uninstall.log")" || code=$?
  echo "demo: the uninstaller ended with exit code $code; what it removed (from $demo/uninstall.log):"
  [ -f "$demo/uninstall.log" ] && cut -c22- "$demo/uninstall.log" | tr -d '\r' | sed 's/^/  /'
  [ "$code" -eq 0 ] || [ "$code" -eq 3010 ] || exit 1
else
  echo "demo: no uninstall entry $entry was found" >&2
  exit 1
fi
