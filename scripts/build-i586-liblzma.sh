#!/usr/bin/env bash
# Builds liblzma (xz-utils) for Windows on the Pentium (-march=i586), as a static
# library that the installer's solid packages are decoded with and that the
# Windows package tool encodes them with. Debian ships liblzma for Linux only
# (liblzma-dev 5.4, which the native build uses); this builds it from the source
# package of Debian's current release, trixie (apt-get source; deb-src lines are
# added by scripts/install-deps.sh): its LZMA decoder (5.6 on) decodes the
# benchmark's solid package about 18 % faster under Wine than 5.4's. Debian's
# installed cross compiler, win32 thread model, no threads of its own, only the
# filters the packages use (LZMA1, LZMA2 and x86 BCJ), only the CRC-32 check, and
# no code that picks newer instructions at run time (carry-less multiplication
# for CRCs). About half a minute.
#
#     build-i586-liblzma.sh DIR
#
# DIR receives include/lzma.h (with include/lzma/) and lib/liblzma.a; DIR/stamp
# names what they were built from: a second run with the same source, compiler and
# script does nothing.
set -euo pipefail

out=${1:?usage: build-i586-liblzma.sh DIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
jobs=${JOBS:-$(nproc)}
target=i686-w64-mingw32
# Each function in a section of its own, so that the installer links only the
# decoder's. -O3: the LZMA decoder runs about 5 % faster under Wine than at -O2,
# its code no larger.
flags="-O3 -march=i586 -mtune=generic -ffunction-sections -fdata-sections"

version_of() { dpkg-query -W -f="\${$2}" "$1" 2>/dev/null || { echo "build-i586-liblzma: $1 is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }; }
compiler_version=$(version_of gcc-mingw-w64-i686-win32 Version)
# The versions Debian's source lists offer from 5.6 on (trixie's), newest first:
# the first whose files the mirror serves is built (a mirror may list a version
# before its files arrive).
minimum=5.6
candidates=$(apt-cache showsrc xz-utils 2>/dev/null | sed -n 's/^Version: //p' | sort -urV |
  while read -r v; do if dpkg --compare-versions "$v" ge "$minimum"; then echo "$v"; fi; done | tr '\n' ' ')
[ -n "$candidates" ] || { echo "build-i586-liblzma: no xz-utils source of $minimum or later in apt's lists (scripts/install-deps.sh adds trixie's)" >&2; exit 1; }
key="$(sha256sum "$0" | cut -d' ' -f1) xz-utils ${candidates% } compiler $compiler_version $flags"
if [ -f "$out/stamp" ] && [ "$(cat "$out/stamp")" = "$key" ]; then
  exit 0
fi

rm -f "$out/stamp"
work=$out/work
rm -rf "$work" "$out/include" "$out/lib"
mkdir -p "$work"
started=$(date +%s)
log=$work/build.log
step() { echo "build-i586-liblzma: $*"; }
run() {
  if ! "$@" >>"$log" 2>&1; then
    echo "build-i586-liblzma: failed: $*" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

source_version=
for v in $candidates; do
  step "fetching xz-utils $v"
  if (cd "$work" && apt-get source --download-only "xz-utils=$v" >>"$log" 2>&1); then source_version=$v; break; fi
  rm -f "$work"/xz-utils_*
done
[ -n "$source_version" ] || { echo "build-i586-liblzma: none of xz-utils $candidates could be fetched" >&2; tail -n 20 "$log" >&2; exit 1; }
(cd "$work" && run dpkg-source -x "xz-utils_$source_version.dsc" src)
step "building liblzma for $target (i586)"
mkdir -p "$work/build"
(cd "$work/build" &&
  run "$work/src/configure" --host=$target --prefix="$out" --disable-shared --enable-static \
    --enable-threads=no --enable-encoders=lzma1,lzma2,x86 --enable-decoders=lzma1,lzma2,x86 \
    --enable-match-finders=hc3,hc4,bt2,bt3,bt4 --enable-checks=crc32 \
    --disable-xz --disable-xzdec --disable-lzmadec --disable-lzmainfo --disable-lzma-links \
    --disable-scripts --disable-doc --disable-nls --disable-clmul-crc --disable-microlzma --disable-lzip-decoder \
    CC=$target-gcc-win32 CFLAGS="$flags" &&
  run make -j"$jobs" -C src/liblzma &&
  run make -C src/liblzma install)
rm -rf "$out/lib/pkgconfig" "$out/lib/liblzma.la" "$work"
echo "$key" >"$out/stamp"
step "done in $(( $(date +%s) - started )) s: $out"
