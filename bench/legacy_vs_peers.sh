#!/usr/bin/env bash
# Speed of the legacy ZIP methods (shrunk, reduced, imploded): `setuvane-pack test`
# against Info-ZIP `unzip -t` and 7-Zip `7z t` on the same archives, as median wall
# times and the ratio to the faster peer (lower is faster; goal <= 1.0).
#
# The archives are the real PKZIP-made and generated ones of the shared legacy
# fixtures, and larger ones assembled from their entries: each big-*.zip holds COPIES
# copies of every legacy entry of one method family (compressed bytes copied as they
# are), so that decoding outweighs starting the programs. Debian's unzip and 7-Zip
# cannot decode reduced entries; for those only our own time is shown.
#
# Environment: BUILD (build root, default "build"; the tool is taken from $BUILD/bench,
# as `make bench` builds it, else $BUILD/native), ROUNDS (default 5), COPIES (default
# 8), WORK (scratch folder, default $BUILD/legacy-bench), FIXTURES (default
# ../shared/fixtures/legacy next to the repository), PACK (the setuvane-pack to use).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$here/$BUILD ;; esac
ROUNDS=${ROUNDS:-5}
COPIES=${COPIES:-8}
WORK=${WORK:-$BUILD/legacy-bench}
FIXTURES=${FIXTURES:-$here/../shared/fixtures/legacy}

pack=${PACK:-}
for candidate in "$BUILD/bench/tools/setuvane-pack" "$BUILD/native/tools/setuvane-pack"; do
  if [ -z "$pack" ] && [ -x "$candidate" ]; then pack=$candidate; fi
done
if [ -z "$pack" ]; then
  echo "legacy_vs_peers: no setuvane-pack under $BUILD/bench or $BUILD/native; build it first" >&2
  exit 1
fi
if [ ! -d "$FIXTURES" ]; then
  echo "legacy_vs_peers: no fixtures at $FIXTURES; skipped" >&2
  exit 0
fi
for tool in unzip 7z python3; do
  command -v "$tool" >/dev/null || { echo "legacy_vs_peers: $tool is missing" >&2; exit 1; }
done
mkdir -p "$WORK"

# assemble OUT METHODS SOURCE... : copies the entries of the given methods (a Python
# set such as {1}) from the sources into OUT, COPIES times, under new names.
assemble() {
  python3 - "$COPIES" "$@" <<'PYTHON'
import struct, sys
copies, out, methods, sources = int(sys.argv[1]), sys.argv[2], eval(sys.argv[3]), sys.argv[4:]

def entries(path):
    data = open(path, "rb").read()
    end = data.rindex(b"PK\x05\x06")
    count, at = struct.unpack_from("<H", data, end + 10)[0], struct.unpack_from("<I", data, end + 16)[0]
    for _ in range(count):
        (flags, method, time, date, crc, csize, usize, nlen, xlen, clen) = struct.unpack_from("<HHHHIIIHHH", data, at + 8)
        local = struct.unpack_from("<I", data, at + 42)[0]
        name = data[at + 46:at + 46 + nlen]
        start = local + 30 + sum(struct.unpack_from("<HH", data, local + 26))
        if method in methods and not flags & 1:
            yield flags, method, time, date, crc, usize, name, data[start:start + csize]
        at += 46 + nlen + xlen + clen

chosen = [e for path in sources for e in entries(path)]
body, directory = bytearray(), bytearray()
for copy in range(copies):
    for index, (flags, method, time, date, crc, usize, name, raw) in enumerate(chosen):
        name = b"%d/%d-%s" % (copy, index, name.replace(b"/", b"_"))
        fields = (20, flags, method, time, date, crc, len(raw), usize, len(name))
        directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, *fields, 0, 0, 0, 0, 0, len(body)) + name
        body += struct.pack("<IHHHHHIIIHH", 0x04034B50, *fields, 0) + name + raw
end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(chosen) * copies, len(chosen) * copies,
                  len(directory), len(body), 0)
open(out, "wb").write(bytes(body + directory + end))
PYTHON
}

f=$FIXTURES
assemble "$WORK/big-shrink.zip" "{1}" "$f"/shrink-0*.zip "$f"/gen-shrink-zipada.zip
assemble "$WORK/big-implode.zip" "{6}" "$f"/implode-*.zip "$f"/gen-implode-*.zip
assemble "$WORK/big-reduce.zip" "{2,3,4,5}" "$f"/reduce-*.zip "$f"/gen-reduce-*.zip
archives=(
  "$WORK/big-shrink.zip" "$WORK/big-implode.zip" "$WORK/big-reduce.zip"
  "$f/shrink-05-defacto2-pkzip110-large.zip" "$f/implode-4k2-defacto2-pkzip110-large.zip"
  "$f/implode-8k3-commons-moby-tika.zip" "$f/reduce-4-defacto2-pkzip-large.zip"
)

# check TOOL ARCHIVE: tests every entry; fails when the tool reports an error.
check() {
  case $1 in
    setuvane) "$pack" test "$2" >/dev/null 2>&1 ;;
    unzip) unzip -tqq "$2" >/dev/null 2>&1 ;;
    7z) 7z t "$2" >/dev/null 2>&1 ;;
  esac
}

tools=(setuvane unzip 7z)
results=$WORK/times.txt
: >"$results"
for archive in "${archives[@]}"; do
  if ! check setuvane "$archive"; then
    echo "legacy_vs_peers: setuvane-pack test fails on $archive" >&2
    exit 1
  fi
  for tool in unzip 7z; do
    # A peer that cannot decode the archive is left out rather than timed.
    check "$tool" "$archive" || echo "$(basename "$archive") $tool n/a" >>"$results"
  done
done
for round in $(seq 1 "$ROUNDS"); do
  for archive in "${archives[@]}"; do
    name=$(basename "$archive")
    for i in "${!tools[@]}"; do
      # Rotate the order each round so that no tool always runs first.
      tool=${tools[$(( (i + round) % ${#tools[@]} ))]}
      grep -q "^$name $tool n/a" "$results" && continue
      start=$(date +%s.%N)
      check "$tool" "$archive"
      end=$(date +%s.%N)
      echo "$name $tool $start $end" | awk '{printf "%s %s %.4f\n", $1, $2, $4 - $3}' >>"$results"
    done
  done
done

median() {
  awk -v a="$1" -v t="$2" '$1 == a && $2 == t && $3 != "n/a" {print $3}' "$results" | sort -g |
    awk '{v[NR] = $1} END {if (NR == 0) print "n/a"; else print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

echo "legacy_vs_peers: $ROUNDS rounds, $COPIES copies in big-*; median wall time; ratio = setuvane / faster peer"
printf '%-42s %8s %10s %10s %10s %7s\n' archive MB setuvane unzip 7z ratio
for archive in "${archives[@]}"; do
  name=$(basename "$archive")
  mb=$(unzip -Zt "$archive" 2>/dev/null | awk '{print $3 / 1000000}')
  ours=$(median "$name" setuvane)
  theirs=()
  for tool in unzip 7z; do theirs+=("$(median "$name" "$tool")"); done
  ratio=$(awk -v s="$ours" -v u="${theirs[0]}" -v z="${theirs[1]}" 'BEGIN {
    best = ""; if (u != "n/a") best = u; if (z != "n/a" && (best == "" || z < best)) best = z;
    if (best == "" || s == "n/a") print "n/a"; else printf "%.2f", s / best }')
  printf '%-42s %8.1f %10s %10s %10s %7s\n' "$name" "$mb" "$ours" "${theirs[0]}" "${theirs[1]}" "$ratio"
done
