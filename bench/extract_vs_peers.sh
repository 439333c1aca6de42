#!/usr/bin/env bash
# Extraction speed of `setuvane-pack extract` against Info-ZIP unzip, 7-Zip and
# bsdtar on one payload, as wall-time ratios to `unzip -qo` (lower is faster).
#
# The payload is a fixed selection of about 110 MB of files from /usr/share and
# /usr/lib (the first files of 8 KiB to 4 MiB in sorted order; about 2,000 files in
# a few hundred folders), so that any Debian machine can rebuild it. Info-ZIP zip makes three archives of it:
# deflate -9, stored (-0), and traditional encryption (-P, default level). All tools
# then run interleaved, round after round, each run extracting into a folder name
# never used before (re-creating a deleted tree under the same name costs every tool
# extra kernel time and squeezes the ratios toward 1), with `sync` between runs.
#
# Environment: BUILD (build root, default "build"; the tool is taken from
# $BUILD/bench, as `make bench` builds it, else $BUILD/native), ROUNDS (default 7),
# PAYLOAD_MB (default 110), WORK (scratch folder, default $BUILD/extract-bench),
# PACK (the setuvane-pack to measure, instead of the one found under BUILD).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-build}
case $BUILD in /*) ;; *) BUILD=$here/$BUILD ;; esac
ROUNDS=${ROUNDS:-7}
PAYLOAD_MB=${PAYLOAD_MB:-110}
WORK=${WORK:-$BUILD/extract-bench}
PASSWORD=tarnwick

pack=${PACK:-}
for candidate in "$BUILD/bench/tools/setuvane-pack" "$BUILD/native/tools/setuvane-pack"; do
  if [ -z "$pack" ] && [ -x "$candidate" ]; then pack=$candidate; fi
done
if [ -z "$pack" ]; then
  echo "extract_vs_peers: no setuvane-pack under $BUILD/bench or $BUILD/native; build it first" >&2
  exit 1
fi
for tool in zip unzip 7z bsdtar; do
  command -v "$tool" >/dev/null || { echo "extract_vs_peers: $tool is missing" >&2; exit 1; }
done

mkdir -p "$WORK"
payload=$WORK/payload
if [ ! -f "$WORK/payload.done" ]; then
  rm -rf "$payload" "$WORK"/*.zip "$WORK"/out-*
  mkdir -p "$payload"
  find /usr/share /usr/lib -type f -size +8k -size -4M -readable 2>/dev/null | LC_ALL=C sort |
    xargs -d '\n' stat -c '%s %n' |
    awk -v limit=$((PAYLOAD_MB * 1000000)) 'sum < limit { sum += $1; sub(/^[0-9]+ /, ""); print }' >"$WORK/list.txt"
  tar -cf - -T "$WORK/list.txt" 2>/dev/null | tar -xf - -C "$payload"
  (cd "$payload" && zip -q -r -X -9 "$WORK/deflate9.zip" . &&
                    zip -q -r -X -0 "$WORK/stored.zip" . &&
                    zip -q -r -X -P "$PASSWORD" "$WORK/encrypted.zip" .)
  touch "$WORK/payload.done"
fi
files=$(find "$payload" -type f | wc -l)
bytes=$(du -sb "$payload" | cut -f1)

# extract TOOL ARCHIVE DESTINATION
extract() {
  local password=()
  case $1 in
    setuvane) "$pack" extract -d "$3" "$2" >/dev/null ;;
    unzip) [ "$2" = "$WORK/encrypted.zip" ] && password=(-P "$PASSWORD")
           unzip -qo "${password[@]}" -d "$3" "$2" ;;
    7z) 7z x -y -p"$PASSWORD" -o"$3" "$2" >/dev/null ;;
    bsdtar) mkdir -p "$3" && bsdtar --passphrase "$PASSWORD" -xf "$2" -C "$3" ;;
  esac
}

tools=(unzip setuvane 7z bsdtar)
archives=(deflate9 stored encrypted)
# Outputs are removed only when the script ends: deleting a tree costs kernel time
# that spills into whatever runs next (ext4 also skips recently freed inodes when it
# makes new files, for some 35 seconds). So the script waits out deletions of
# earlier runs, and measures only after one round that warms everything up.
stamp=$WORK/deleted-at
remove_outputs() { rm -rf "$WORK"/out-*; sync; date +%s >"$stamp"; }
if compgen -G "$WORK/out-*" >/dev/null; then remove_outputs; fi
if [ -f "$stamp" ]; then
  wait_s=$(( $(cat "$stamp") + 40 - $(date +%s) ))
  [ "$wait_s" -gt 0 ] && { echo "extract_vs_peers: waiting ${wait_s} s after the last deletion" >&2; sleep "$wait_s"; }
fi
trap remove_outputs EXIT
results=$WORK/times.txt
: >"$results"
run=0
for round in $(seq 0 "$ROUNDS"); do
  for archive in "${archives[@]}"; do
    # Rotate the order each round so that no tool always runs first.
    for i in "${!tools[@]}"; do
      tool=${tools[$(( (i + round) % ${#tools[@]} ))]}
      run=$((run + 1))
      out=$WORK/out-$$-$run-$tool-$archive
      sync
      start=$(date +%s.%N)
      extract "$tool" "$WORK/$archive.zip" "$out"
      end=$(date +%s.%N)
      [ "$round" -eq 0 ] && continue
      echo "$archive $tool $start $end" | awk '{printf "%s %s %.3f\n", $1, $2, $4 - $3}' >>"$results"
    done
  done
done

echo "extract_vs_peers: $files files, $((bytes / 1000000)) MB, $ROUNDS rounds; median wall time and ratio to unzip -qo"
printf '%-10s' archive
for tool in "${tools[@]}"; do printf '%18s' "$tool"; done
echo
for archive in "${archives[@]}"; do
  printf '%-10s' "$archive"
  base=$(awk -v a="$archive" '$1 == a && $2 == "unzip" {print $3}' "$results" | sort -g |
         awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}')
  for tool in "${tools[@]}"; do
    median=$(awk -v a="$archive" -v t="$tool" '$1 == a && $2 == t {print $3}' "$results" | sort -g |
             awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}')
    printf '%9.3fs %6.2f ' "$median" "$(awk -v m="$median" -v b="$base" 'BEGIN {print m / b}')"
  done
  echo
done
