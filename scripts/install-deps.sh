#!/usr/bin/env bash
# Installs the packages the build and the tests need on Debian 12. Idempotent:
# packages already present are not touched, and apt is only called when one is missing.
set -euo pipefail

packages=(
  cmake make ninja-build g++ pkg-config
  clang-14 libclang-rt-14-dev llvm-14
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  libcli11-dev nlohmann-json3-dev libdeflate-dev libz-mingw-w64-dev liblzma-dev
  wine wine32:i386 wine64 fonts-wine xvfb xdotool x11-utils imagemagick
  zip unzip p7zip-full libarchive-tools python3 locales
  nsis
  openssl osslsigncode python3-pefile python3-jsonschema python3-yaml
  gcc-12-source dpkg-dev
)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

# Wine runs under pl_PL.UTF-8: its ANSI code page is then 1250, and Polish file
# names and arguments cross between Linux (UTF-8) and Windows (1250) intact.
ensure_polish_locale() {
  locale -a 2>/dev/null | grep -qix 'pl_PL.utf8' && return 0
  echo "install-deps: generating the pl_PL.UTF-8 locale"
  $SUDO sed -i 's/^# *\(pl_PL.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}

# A mirror caught mid-sync serves an index of the wrong size and apt-get update fails
# on it; a later try usually gets a whole one. After three tries the lists apt
# already has are used, and a package they lack fails the install below plainly.
# Once a run is enough: the second caller (a list just written, then missing
# packages) finds the lists fresh.
lists_updated=
apt_update() {
  local try
  [ -n "$lists_updated" ] && return 0
  lists_updated=1
  for try in 1 2 3; do
    $SUDO apt-get update -qq && return 0
    echo "install-deps: apt-get update failed (try $try of 3)" >&2
    [ "$try" -lt 3 ] && sleep 20
  done
  echo "install-deps: going on with the package lists apt has" >&2
}

# scripts/build-i586-runtime.sh and build-i586-liblzma.sh fetch MinGW-w64's and
# xz-utils' sources with apt-get source: Debian's source lists, beside the binary
# ones; trixie's too, for xz-utils (see build-i586-liblzma.sh). A list written by
# an earlier version of this script is brought up to date.
sources_list=/etc/apt/sources.list.d/setuvane-debian-src.sources
ensure_source_lists() {
  local wanted
  wanted=$(printf '%s\n' \
    'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm bookworm-updates trixie' \
    'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' '' \
    'Types: deb-src' 'URIs: http://deb.debian.org/debian-security' 'Suites: bookworm-security' \
    'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg')
  [ -f "$sources_list" ] && [ "$(cat "$sources_list")" = "$wanted" ] && return 0
  echo "install-deps: writing Debian's source lists ($sources_list)"
  printf '%s\n' "$wanted" | $SUDO tee "$sources_list" >/dev/null
  apt_update
}
ensure_source_lists

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
else
  echo "install-deps: installing ${missing[*]}"
  apt_update
  apt_install() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" "${missing[@]}" >/dev/null; }
  # Without one architecture's security list (see apt_update), a library both
  # architectures need may have a newer amd64 candidate than any i386 build apt
  # knows; taking both from the release itself keeps the pair at one version.
  apt_install || { echo "install-deps: retrying with the release's own versions (-t bookworm)" >&2; apt_install -t bookworm; }
  echo "install-deps: done"
fi
ensure_polish_locale
