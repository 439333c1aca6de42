#!/usr/bin/env bash
# Builds for the Pentium (-march=i586) the runtime that setuvane.exe links
# statically: libgcc with libgcc_eh and crtbegin.o/crtend.o, libstdc++ and
# libsupc++, and MinGW-w64's start-up code crt2.o, libmingw32, libmingwex and
# libmsvcrt. Debian ships them built for i686, with CMOV and FCOMI in the
# start-up code, the string functions and the exception handling, which a Pentium,
# Pentium MMX, K5, K6, 6x86 or WinChip cannot execute: the installer would die
# before its first window on the machines Windows 95 and 98 ran on.
#
# Only the target libraries are built, with Debian's installed cross compiler
# (win32 thread model, DWARF-2 exceptions) and from the sources of the versions in
# use: GCC from gcc-12-source (the upstream release the cross compiler is built
# from; only the headers libgcc needs are generated in a configured gcc folder),
# MinGW-w64 from its Debian source package (apt-get source; deb-src lines are added
# by scripts/install-deps.sh). About four minutes on two cores.
#
#     build-i586-runtime.sh DIR
#
# DIR receives the objects and archives; the installer links with -B DIR/. DIR/stamp
# names what they were built from: a second run with the same sources, compiler and
# script does nothing. JOBS (default: the number of processors) parallel jobs.
set -euo pipefail

out=${1:?usage: build-i586-runtime.sh DIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
jobs=${JOBS:-$(nproc)}
target=i686-w64-mingw32
flags="-O2 -march=i586 -mtune=generic"

version_of() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || { echo "build-i586-runtime: $1 is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }; }
gcc_source_version=$(version_of gcc-12-source)
compiler_version=$(version_of gcc-mingw-w64-i686-win32)
crt_version=$(version_of mingw-w64-i686-dev)
key="$(sha256sum "$0" | cut -d' ' -f1) gcc-12-source $gcc_source_version compiler $compiler_version mingw-w64 $crt_version $flags"
if [ -f "$out/stamp" ] && [ "$(cat "$out/stamp")" = "$key" ]; then
  exit 0
fi
# The libraries must come from the release the compiler was built from: its headers
# and the compiled libraries have to agree.
upstream=${gcc_source_version%%-*}
case $compiler_version in
  "$upstream"-*) ;;
  *) echo "build-i586-runtime: gcc-12-source $gcc_source_version does not match the cross compiler $compiler_version" >&2; exit 1 ;;
esac

rm -f "$out/stamp"
work=$out/work
rm -rf "$work"
mkdir -p "$work"
started=$(date +%s)
log=$work/build.log
step() { echo "build-i586-runtime: $*"; }
run() {
  if ! "$@" >>"$log" 2>&1; then
    echo "build-i586-runtime: failed: $*" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

# GCC's sources, without the parts of the other languages and the compiler's tests.
step "unpacking gcc $upstream (gcc-12-source $gcc_source_version)"
tarball=$(ls /usr/src/gcc-12/gcc-"$upstream"*.tar.xz)
run tar -xJf "$tarball" -C "$work" \
  --exclude='gcc-*/gcc/testsuite' --exclude='gcc-*/gcc/ada' --exclude='gcc-*/gcc/d' \
  --exclude='gcc-*/gcc/go' --exclude='gcc-*/gcc/m2' --exclude='gcc-*/gcc/po' \
  --exclude='gcc-*/libgo' --exclude='gcc-*/libphobos' --exclude='gcc-*/libsanitizer' \
  --exclude='gcc-*/libgfortran' --exclude='gcc-*/libgomp' --exclude='gcc-*/libada' \
  --exclude='gcc-*/gnattools' --exclude='gcc-*/libstdc++-v3/testsuite/[0-9a-z]*'
gcc_src=$(echo "$work"/gcc-"$upstream")
[ -d "$gcc_src/libgcc" ] || { echo "build-i586-runtime: no gcc-$upstream in $tarball" >&2; exit 1; }

# The configuration headers libgcc is compiled with (tm.h and what it includes),
# from gcc's own configure for this target, as in a build of the whole compiler;
# the generators of the machine's constants and modes need libiberty for the build
# machine. The compiler itself is not built.
step "configuring gcc for $target (headers only)"
mkdir -p "$work/build-x86_64-linux-gnu/libiberty" "$work/gcc/include" "$work/$target/libgcc" "$work/$target/libstdc++-v3"
(cd "$work/build-x86_64-linux-gnu/libiberty" && run "$gcc_src/libiberty/configure" && run make -j"$jobs")
(cd "$work/gcc" &&
  run "$gcc_src/gcc/configure" --build=x86_64-linux-gnu --host=x86_64-linux-gnu --target=$target \
    --prefix=/usr --enable-languages=c,c++ --enable-threads=win32 --disable-sjlj-exceptions \
    --with-dwarf2 --disable-multilib --disable-nls &&
  run make -j"$jobs" tconfig.h tm.h options.h insn-constants.h insn-flags.h insn-modes.h)
# What libgcc reads of the compiler's build: its flags, with the target's C library
# present (Debian builds with its headers).
printf '%s\n' 'include Makefile' 'print-mvars:' \
  '	@echo "GCC_CFLAGS = $(GCC_CFLAGS)"' '	@echo "INHIBIT_LIBC_CFLAGS ="' \
  '	@echo "TARGET_SYSTEM_ROOT = $(TARGET_SYSTEM_ROOT)"' '	@echo "NO_PIE_CFLAGS ="' >"$work/mvars.mk"
make -s -C "$work/gcc" -f "$work/mvars.mk" print-mvars >"$work/gcc/libgcc.mvars"

step "building libgcc"
(cd "$work/$target/libgcc" &&
  run "$gcc_src/libgcc/configure" --build=x86_64-linux-gnu --host=$target --target=$target --prefix=/usr \
    --disable-shared --disable-multilib --enable-version-specific-runtime-libs \
    CC=$target-gcc-win32 CFLAGS="$flags" &&
  run make -j"$jobs" libgcc.a crtbegin.o crtend.o)

step "building libstdc++ and libsupc++"
(cd "$work/$target/libstdc++-v3" &&
  run "$gcc_src/libstdc++-v3/configure" --build=x86_64-linux-gnu --host=$target --target=$target --prefix=/usr \
    --disable-shared --disable-multilib --disable-nls --disable-libstdcxx-pch \
    --enable-version-specific-runtime-libs --enable-libstdcxx-time=yes --enable-fully-dynamic-string \
    --enable-libstdcxx-filesystem-ts=yes \
    CC=$target-gcc-win32 CXX="$target-g++-win32 -nostdinc++" CFLAGS="$flags" CXXFLAGS="$flags" &&
  run make -j"$jobs")

# MinGW-w64's sources as Debian builds them (its patches change build flags only).
step "fetching mingw-w64 $crt_version"
(cd "$work" && run apt-get source --download-only "mingw-w64=$crt_version" && run dpkg-source -x mingw-w64_*.dsc crt-src)
step "building crt2.o, libmingw32, libmingwex and libmsvcrt"
mkdir -p "$work/crt/lib32"
(cd "$work/crt" &&
  run "$work/crt-src/mingw-w64-crt/configure" --host=$target --prefix=/usr/$target --disable-lib64 --enable-lib32 \
    CC=$target-gcc-win32 CFLAGS="$flags" &&
  run make -j"$jobs" lib32/crt2.o lib32/libmingw32.a lib32/libmingwex.a lib32/libmsvcrt.a)

# The archives under the names the compiler driver links. libgcc was built without
# its DLL, so its exception handling is in libgcc.a: it moves to libgcc_eh.a, split
# as Debian's own.
rm -f "$out"/*.a "$out"/*.o
cp "$work/$target/libgcc/libgcc.a" "$work/$target/libgcc/crtbegin.o" "$work/$target/libgcc/crtend.o" "$out/"
eh_members=$($target-ar t "$($target-gcc-win32 -print-file-name=libgcc_eh.a)")
(cd "$work/$target/libgcc" && $target-ar x libgcc.a $eh_members && $target-ar rcs "$out/libgcc_eh.a" $eh_members)
$target-ar d "$out/libgcc.a" $eh_members
cp "$work/$target/libstdc++-v3/src/.libs/libstdc++.a" "$work/$target/libstdc++-v3/libsupc++/.libs/libsupc++.a" "$out/"
cp "$work/crt/lib32/crt2.o" "$work/crt/lib32/libmingw32.a" "$work/crt/lib32/libmingwex.a" "$work/crt/lib32/libmsvcrt.a" "$out/"

rm -rf "$work"
echo "$key" >"$out/stamp"
step "done in $(( $(date +%s) - started )) s: $out"
