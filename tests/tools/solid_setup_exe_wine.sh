#!/usr/bin/env bash
# A solid single file under Wine: setuvane-pack.exe builds setup.exe --solid from
# the sample package with an empty file, a Polish name and a file larger than the
# stream's dictionary; setuvane-pack.exe lists and tests it; setup.exe installs it
# unattended, alone in a folder, and the uninstall.exe it leaves removes it again.
# A copy cut short and one with a changed byte end with exit code 2 and write
# nothing, at start-up and in the tool's extract.
#   solid_setup_exe_wine.sh SETUVANE-PACK.EXE SETUVANE.EXE OUT
set -euo pipefail
pack=$1 bare=$2 out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
run=$root/scripts/wine-run.sh
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
fail() { echo "FAILED: $*"; exit 1; }

rm -rf "$out"
mkdir -p "$out/alone" "$out/cut" "$out/changed"
cp -r "$root/tests/tools/sample_package" "$out/source"
cd "$out"
: >source/product/pusty.txt
printf 'zażółć' >"source/product/$(printf 'g\xc4\x99\xc5\x9bl\xc4\x85.txt')"
seq -f 'linia %07g' 1 800000 >source/product/duzy.bin  # more than the 8 MiB dictionary
printf '[<programfolder>]\nproduct/pusty.txt\nproduct/g*.txt\nproduct/duzy.bin\n' >>source/manifest.txt

"$run" "$pack" build --solid --installer "$(winpath "$bare")" -o "$(winpath "$out/setup.exe")" \
  "$(winpath "$out/source/manifest.txt")" | grep -q "12 entries" || fail "setuvane-pack.exe build --solid"
"$run" "$pack" list "$(winpath "$out/setup.exe")" | grep -q "gęślą.txt -> <programfolder>" || fail "list"
"$run" "$pack" test "$(winpath "$out/setup.exe")" | grep -q "no errors in 12 entries" || fail "test"

cp setup.exe alone/
"$run" "$(winpath "$out/alone/setup.exe")" /VERYSILENT "/DIR=$(winpath "$out/installed")" \
  "/LOG=$(winpath "$out/install.log")" || { cat install.log; fail "setup.exe ended with $?"; }
[ "$(ls alone)" = setup.exe ] || fail "the folder holds more than setup.exe: $(ls alone)"
for file in przyklad.exe ustawienia.inf pusty.txt gęślą.txt duzy.bin Dane/liczby.txt Dane/img/logo.png; do
  cmp -s "installed/$file" "source/product/${file/Dane/data}" || fail "installed/$file"
done
"$run" "$(winpath "$out/installed/uninstall.exe")" /UNINSTALL /VERYSILENT "/LOG=$(winpath "$out/uninstall.log")" ||
  { cat uninstall.log; fail "uninstall.exe ended with $?"; }
[ ! -e installed ] || fail "left after the removal: $(find installed)"

# Cut short, and one byte of the stream changed: refused before anything is written.
head -c -4096 setup.exe >cut/setup.exe
/usr/bin/python3 "$root/tests/tools/damaged_copy.py" setup.exe changed/setup.exe
for copy in cut changed; do
  set +e
  "$run" "$(winpath "$out/$copy/setup.exe")" /VERYSILENT "/DIR=$(winpath "$out/$copy/installed")"
  code=$?
  "$run" "$pack" extract -d "$(winpath "$out/$copy/extracted")" "$(winpath "$out/$copy/setup.exe")" >/dev/null 2>&1
  extract=$?
  set -e
  [ "$code" = 2 ] && [ "$extract" = 2 ] || fail "the $copy copy ended with $code, its extract with $extract"
  [ ! -e "$copy/installed" ] && [ -z "$(ls -A "$copy/extracted" 2>/dev/null)" ] || fail "the $copy copy wrote files"
done
echo "solid single file: built, listed, tested, installed alone and removed; cut and changed copies refused with exit code 2"
