#!/usr/bin/env bash
# Brings a Debian (bookworm) machine, as root, to everything the builds and the
# tests need. Idempotent: each step checks first and says what it does.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
say() { printf 'setup: %s\n' "$*"; }
# Runs a step quietly; on failure shows its output.
quiet() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    say "failed: $*" >&2
    exit 1
  fi
  rm -f "$log"
}

packages=(
  cmake ninja-build make git python3 dpkg-dev
  g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libbenchmark-dev libjpeg62-turbo-dev
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine32:i386 wine32-preloader:i386 wine64 wine64-preloader fonts-wine
  qemu-user xvfb xauth imagemagick zip unzip
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

as_root() {
  if [ "$(id -u)" -ne 0 ]; then
    say "must run as root to install: $*" >&2
    exit 1
  fi
}

# --- 1. Debian packages ------------------------------------------------------
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root "the i386 architecture"
  say "adding the i386 architecture (Wine's 32-bit side)"
  dpkg --add-architecture i386
  need_update=1
fi
src_list=/etc/apt/sources.list.d/skimdex-deb-src.sources
if [ ! -f "$src_list" ]; then
  as_root "a deb-src entry"
  say "adding a deb-src entry for bookworm main (libjpeg-turbo's source)"
  cat >"$src_list" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  need_update=1
fi
missing=$(missing_packages)
if [ -n "$missing" ] || [ -n "${need_update:-}" ]; then
  as_root "packages"
  say "apt-get update"
  quiet apt-get update
  missing=$(missing_packages)
fi
if [ -n "$missing" ]; then
  say "installing:" $missing
  quiet apt-get install -y --no-install-recommends $missing
fi

# --- 2. 32-bit Windows programs ----------------------------------------------
# Wine runs an i686 program through its 32-bit Linux loader. Kernels booted
# with ia32 emulation off cannot execute that loader; user-mode emulation
# (qemu-i386 through binfmt_misc) can, and the 64-bit wineserver stays native.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  as_root "binfmt_misc"
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    say "mounting binfmt_misc"
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/skimdex-i386 ]; then
    say "this kernel runs no 32-bit code: registering qemu-i386 for i386 programs"
    printf '%s' ':skimdex-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
      >/proc/sys/fs/binfmt_misc/register
  fi
  /usr/lib/wine/wine --version >/dev/null || { say "Wine's 32-bit loader still does not run" >&2; exit 1; }
fi

# --- 3. libjpeg for the Windows builds, from Debian's source package --------
build_libjpeg() {
  local arch=$1
  local prefix="$deps/$arch/libjpeg"
  [ -f "$prefix/lib/libjpeg.a" ] && return 0
  say "building libjpeg-turbo for $arch (static, libjpeg 6b API) into $prefix"
  local work="$deps/src/libjpeg-$arch"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && quiet apt-get source libjpeg-turbo)
  local src
  src=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
  [ -n "$src" ] || { say "apt-get source libjpeg-turbo gave no source tree" >&2; exit 1; }
  quiet cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_SIMD=0 -DWITH_TURBOJPEG=0 \
    -DWITH_JPEG7=0 -DWITH_JPEG8=0 -Wno-dev
  quiet cmake --build "$work/build" --target install
  rm -rf "$work"
}
build_libjpeg i686
build_libjpeg x86_64

say "ready"
