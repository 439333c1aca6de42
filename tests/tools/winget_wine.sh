#!/usr/bin/env bash
# A single file as winget installs, detects and removes it: the native
# setuvane-pack builds setup.exe and writes its winget manifest, which winget's
# schemas validate; setup.exe installs under Wine with exactly the manifest's Silent
# and InstallLocation switches (<INSTALLPATH> replaced, as winget replaces it); the
# entry is found under the manifest's ProductCode with its DisplayVersion and
# removed through its QuietUninstallString. Then the switches administrators add
# out of habit install with /VERYSILENT, end with 0 and are logged.
#   winget_wine.sh NATIVE-SETUVANE-PACK SETUVANE.EXE WINGET-SCHEMAS OUT
set -euo pipefail
pack=$1 installer=$2 schemas=$3 out=$4
[ -x "$pack" ] || { echo "FAILED: $pack is missing: build natively first (make native)"; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
run=$root/scripts/wine-run.sh
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
fail() { echo "FAILED: $*"; exit 1; }
# KEY...: a field of the installer manifest, by its keys (numbers index lists).
field() {
  /usr/bin/python3 -c 'import json, sys
value = json.load(sys.stdin)
for key in sys.argv[1:]: value = value[int(key)] if key.isdigit() else value[key]
print(value)' "$@" <"$out/installer.json"
}
# TEXT: the arguments of a command line as the installer splits it (blanks outside
# quotes; quotes dropped), one per line.
split() { /usr/bin/python3 -c 'import re, sys; [print(a.replace("\"", "")) for a in re.findall(r"(?:[^\s\"]|\"[^\"]*\"?)+", sys.argv[1])]' "$1"; }
# VALUE: the entry's value, as reg.exe shows it.
entry_value() {
  "$run" reg.exe query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" /v "$1" 2>/dev/null |
    tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p" || true
}

rm -rf "$out"
mkdir -p "$out"
cp -r "$root/tests/tools/sample_package" "$out/source"
# No registry values or shortcuts: this run is about the entry alone.
: >"$out/source/registry.inf"
: >"$out/source/shortcut.inf"
printf 'PRODUCT_VERSION=3.0.1\r\nPRODUCT_PUBLISHER=Firma\r\nPRODUCT_ID=Firma.Winget.Przyklad\r\n' >>"$out/source/install.inf"
"$pack" build --installer "$installer" -o "$out/setup.exe" "$out/source/manifest.txt" >/dev/null
"$pack" winget "$out/setup.exe" --id Firma.Przyklad --url https://firma.example/setup.exe -o "$out/manifests" >/dev/null
/usr/bin/python3 "$root/tests/tools/winget_manifests.py" "$out/manifests" "$schemas" "$out/setup.exe" \
  >"$out/installer.json" || fail "the manifests do not validate"

code=$(field ProductCode)
version=$(field AppsAndFeaturesEntries 0 DisplayVersion)
[ "$code" = Firma.Winget.Przyklad ] && [ "$version" = 3.0.1 ] || fail "ProductCode $code, DisplayVersion $version"
folder=$(winpath "$out/installed")
location=$(field InstallerSwitches InstallLocation)
mapfile -t switches < <(split "$(field InstallerSwitches Silent) ${location//"<INSTALLPATH>"/"$folder"}")
"$run" "$(winpath "$out/setup.exe")" "${switches[@]}" || fail "setup.exe ${switches[*]} ended with $?"
cmp -s "$out/installed/przyklad.exe" "$out/source/product/przyklad.exe" || fail "przyklad.exe is not installed"
[ "$(entry_value DisplayVersion)" = "$version" ] || fail "no entry $code with DisplayVersion $version"

mapfile -t quiet < <(split "$(entry_value QuietUninstallString)")
"$run" "${quiet[@]}" || fail "${quiet[*]} ended with $?"
[ -z "$(entry_value DisplayVersion)" ] || fail "the entry $code stays"
[ ! -e "$out/installed/przyklad.exe" ] || fail "przyklad.exe stays"

# An administrator's habits: accepted, logged, and the installation ends with 0.
"$run" "$(winpath "$out/setup.exe")" /VERYSILENT /NORESTART /SUPPRESSMSGBOXES /SP- "/DIR=$folder" \
  "/LOG=$(winpath "$out/habits.log")" || fail "/NORESTART /SUPPRESSMSGBOXES /SP- ended with $?"
for switch in /NORESTART /SUPPRESSMSGBOXES /SP-; do
  grep -q "switch accepted, nothing to do: $switch" "$out/habits.log" || { cat "$out/habits.log"; fail "$switch is not logged"; }
done
mapfile -t quiet < <(split "$(entry_value QuietUninstallString) /NORESTART")
"$run" "${quiet[@]}" || fail "${quiet[*]} ended with $?"
echo "winget: manifests valid; installed with their switches, found as $code $version, removed quietly; habits end with 0"
