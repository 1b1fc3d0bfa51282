#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages.
set -euo pipefail
packages=(cmake make g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
          mingw-w64-i686-dev googletest wine wine32 xvfb xauth procps
          # Where the kernel runs no 32-bit programs, the tests run a 64-bit
          # build of the same sources under 64-bit Wine.
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          mingw-w64-x86-64-dev wine64
          # Wine's Direct3D draws through the i386 GL drivers.
          libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
          # The host build of the byte and text modules, with libFuzzer.
          clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  arch=""
  [ "$p" = wine32 ] && arch=":i386"
  dpkg-query -W -f='${Status}' "$p$arch" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p$arch")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO dpkg --add-architecture i386
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
