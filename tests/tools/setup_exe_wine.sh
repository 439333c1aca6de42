#!/usr/bin/env bash
# A single-file installer as a vendor makes one: setuvane-pack.exe builds setup.exe
# from the sample package and a component it carries under Wine (with the
# setuvane.exe that ships beside it), the native setuvane-pack signs it and its
# uninstaller with a throw-away certificate (osslsigncode), pefile reads its version
# resource, checksum and signature place, and setup.exe installs alone in a folder
# under Wine, its uninstall.exe signed; a damaged copy ends with exit code 2 and
# installs nothing. The signed file stays in OUT for the walked tests of
# core_program_test.
#   setup_exe_wine.sh SETUVANE-PACK.EXE SETUVANE.EXE COMPONENT.EXE NATIVE-SETUVANE-PACK OUT
set -euo pipefail
pack=$1 bare=$2 component=$3 native=$4 out=$5
[ -x "$native" ] || { echo "FAILED: $native is missing: build natively first (make native)"; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
run=$root/scripts/wine-run.sh
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
fail() { echo "FAILED: $*"; exit 1; }

rm -rf "$out"
mkdir -p "$out/alone" "$out/damaged"
cp -r "$root/tests/tools/sample_package" "$out/source"
# The product's version and publisher for the version resource ("Przykład" in Windows-1250).
printf 'PRODUCT_VERSION=2.1.7\r\nPRODUCT_PUBLISHER=Firma Przyk\xb3ad\r\n' >>"$out/source/install.inf"
# A component installer it carries (it records where it ran when asked to).
mkdir -p "$out/source/supaxdo" && cp "$component" "$out/source/supaxdo/setup.exe"
printf '[setup supaxdo]\nsupaxdo\n' >>"$out/source/manifest.txt"

"$run" "$pack" build -o "$(winpath "$out/setup.exe")" "$(winpath "$out/source/manifest.txt")"

cd "$out"
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=Firma Testowa" 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout pass:tajne
printf 'tajne\n' >pass.txt
"$native" sign --pkcs12 cert.p12 --pass-file pass.txt setup.exe >/dev/null
osslsigncode verify -in setup.exe -CAfile cert.pem >verify.txt || { cat verify.txt; fail "osslsigncode verify"; }

/usr/bin/python3 - "$out/setup.exe" "$bare" <<'PY'
import sys, pefile
single, bare = (pefile.PE(p) for p in sys.argv[1:3])
def strings(pe):
    return {k.decode(): v.decode() for fi in pe.FileInfo[0] if hasattr(fi, "StringTable")
            for t in fi.StringTable for k, v in t.entries.items()}
def resources(pe):
    return {(t.id, n.id) for t in pe.DIRECTORY_ENTRY_RESOURCE.entries for n in t.directory.entries}
expected = {"CompanyName": "Firma Przykład", "FileDescription": "Przykładowa aplikacja",
            "FileVersion": "2.1.7", "InternalName": "setuvane", "OriginalFilename": "setup.exe",
            "ProductName": "Instalator przykładowej aplikacji", "ProductVersion": "2.1.7"}
assert strings(single) == expected, strings(single)
fixed = single.VS_FIXEDFILEINFO[0]
assert (fixed.FileVersionMS, fixed.FileVersionLS) == (2 << 16 | 1, 7 << 16), fixed
assert strings(bare)["ProductName"] == "Setuvane" and strings(bare)["FileDescription"] == "Instalator Setuvane"
# Every resource of the installer is kept but the room its version resource was written into.
assert resources(single) == resources(bare) - {(10, 900)}, resources(single) ^ resources(bare)
assert single.verify_checksum() and bare.verify_checksum()
# The signature is the last thing in the file.
security = single.OPTIONAL_HEADER.DATA_DIRECTORY[4]
assert security.VirtualAddress + security.Size == len(single.__data__), security
print("pefile: version resource, resources, checksum and signature place as expected")
PY

# Alone in a folder, unattended.
cp setup.exe alone/
"$run" "$(winpath "$out/alone/setup.exe")" /VERYSILENT "/DIR=$(winpath "$out/installed")" \
  "/LOG=$(winpath "$out/install.log")" || { code=$?; [ "$code" = 194 ] || fail "setup.exe ended with $code"; }  # 3010, its component ran (a Unix exit status keeps its low byte)
[ "$(ls alone)" = setup.exe ] || fail "the folder holds more than setup.exe: $(ls alone)"
for file in przyklad.exe ustawienia.inf Dane/liczby.txt Dane/img/logo.png; do
  cmp -s "installed/$file" "source/product/${file/Dane/data}" || fail "installed/$file"
done
osslsigncode verify -in installed/uninstall.exe -CAfile cert.pem >verify-uninstaller.txt ||
  { cat verify-uninstaller.txt; fail "the installed uninstaller is not signed"; }

# One byte of the package changed: the report of an unreadable package, exit code 2.
/usr/bin/python3 "$root/tests/tools/damaged_copy.py" setup.exe damaged/setup.exe
set +e
"$run" "$(winpath "$out/damaged/setup.exe")" /VERYSILENT "/DIR=$(winpath "$out/damaged/installed")" \
  "/LOG=$(winpath "$out/damaged.log")"
code=$?
set -e
[ "$code" = 2 ] || fail "the damaged copy ended with $code"
[ ! -e damaged/installed ] || fail "the damaged copy installed something"
grep -q "problem: Problem instalacji / Nieprawidłowy źródłowy pakiet instalacji. / .* / Invalid file - the installer's package is damaged" damaged.log ||
  { cat damaged.log; fail "the damaged copy's report"; }
echo "single file: built, signed, verified, installed alone with a signed uninstaller; the damaged copy refused with exit code 2"
