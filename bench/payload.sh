#!/usr/bin/env bash
# Makes a realistic product payload for the package benchmarks: about 2,000 files
# and 110 MB taken from Debian's own installed files, laid out as a Windows product
# would be (programs and libraries, headers and scripts as text, fonts, compressed
# documentation). The selection is deterministic: files of fixed packages that
# scripts/install-deps.sh installs, in sorted order, each group up to a byte budget,
# so every machine set up by that script makes the same payload.
#
# usage: bench/payload.sh OUTPUT_FOLDER
# Writes OUTPUT_FOLDER/files/... and OUTPUT_FOLDER/list.txt (one relative path a
# line); does nothing when OUTPUT_FOLDER/payload.done exists.
set -euo pipefail

out=${1:?usage: bench/payload.sh OUTPUT_FOLDER}
[ -f "$out/payload.done" ] && exit 0
rm -rf "$out/files"
mkdir -p "$out/files"

# group PACKAGE PATTERN BUDGET_MB TARGET_FOLDER
# The package's regular files whose path matches PATTERN (extended regex), sorted,
# up to BUDGET_MB megabytes, copied below TARGET_FOLDER keeping the part of their
# path after the longest folder they all share.
group() {
  local package=$1 pattern=$2 budget=$(($3 * 1000000)) target=$4
  local list
  list=$(dpkg -L "$package" | grep -E "$pattern" | LC_ALL=C sort |
    while IFS= read -r f; do [ -f "$f" ] && [ ! -L "$f" ] && printf '%s\n' "$f"; done |
    xargs -r -d '\n' stat -c '%s %n' |
    awk -v limit="$budget" 'sum + $1 <= limit { sum += $1; sub(/^[0-9]+ /, ""); print }')
  [ -n "$list" ] || { echo "payload: nothing from $package" >&2; exit 1; }
  local root
  root=$(printf '%s\n' "$list" | sed 's|/[^/]*$||' |
    awk 'NR == 1 { p = $0 } { while (index($0 "/", p "/") != 1) sub(/\/[^\/]*$/, "", p) } END { print p }')
  printf '%s\n' "$list" | while IFS= read -r f; do
    local rel=${f#"$root"/}
    mkdir -p "$out/files/$target/$(dirname "$rel")"
    cp "$f" "$out/files/$target/$rel"
  done
}

group libwine:i386 '/i386-windows/[^/]+\.(dll|exe)$' 56 bin               # Windows programs and libraries
group mingw-w64-common '/include/.*\.h$' 30 sdk/include                     # C headers: text
group mingw-w64-i686-dev '/lib/[^/]+\.a$' 12 sdk/lib                        # static libraries
group libpython3.11-stdlib '/python3\.11/.*\.py$' 8 scripts                # scripts: text
group cmake-data '/Modules/.*\.cmake$' 2 data/modules                      # more text
group libmagickcore-6.q16-6 '\.(so[.0-9]*|xml)$' 6 plugins                 # more binaries
group fonts-wine '\.ttf$' 2 fonts                                           # fonts
group wine '\.gz$' 1 doc/wine                                               # already compressed
group cmake-data '\.(gz|png)$' 1 doc/cmake

(cd "$out/files" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$out/list.txt"
touch "$out/payload.done"
echo "payload: $(wc -l <"$out/list.txt") files, $(du -sb "$out/files" | cut -f1) bytes in $out/files"
