#!/usr/bin/env bash
# Installs the packages the build and the tests need on Debian 12. Idempotent:
# packages already present are not touched, and apt is only called when one is missing.
set -euo pipefail

packages=(
  cmake make ninja-build g++ pkg-config
  clang-14 libclang-rt-14-dev llvm-14
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  wine wine32:i386 fonts-wine xvfb xdotool x11-utils imagemagick
  zip unzip p7zip-full libarchive-tools python3
)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"
