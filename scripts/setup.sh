#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages. Where
# the kernel runs no 32-bit programs, 32-bit Wine runs through the user-mode
# emulator qemu-i386, registered with the kernel's binfmt_misc; only where
# that cannot be set up do the tests fall back to a 64-bit build.
set -euo pipefail
packages=(cmake make g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
          mingw-w64-i686-dev googletest wine wine32:i386 wine64 xvfb xauth procps
          # Wine's Direct3D draws through the i386 GL drivers.
          libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
          # The host build of the byte and text modules, with libFuzzer.
          clang libclang-rt-14-dev)
# The 64-bit build of the same sources, for a kernel without 32-bit support
# where the emulator cannot be set up.
packages64=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
            mingw-w64-x86-64-dev)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
aggiornato=""

installa() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ -z "$aggiornato" ]; then
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    $SUDO apt-get update -q
    aggiornato=1
  fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# bookworm's own qemu (7.2) crashes in wineboot: its backports carry one that
# boots a prefix. The suite is added once, on the machine's own mirror.
installa_qemu() {
  local codename="" origine
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ "$codename" != bookworm ]; then
    installa qemu-user-static
    return
  fi
  if ! grep -rqsE '(^|[[:space:]])bookworm-backports([[:space:]]|$)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    origine=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk -v RS= '
      /(^|\n)Suites:([^\n]*[[:space:]])?bookworm([[:space:]]|\n|$)/ && !fatto {
        n = split($0, righe, "\n")
        for (i = 1; i <= n; i++) {
          if (righe[i] ~ /^Suites:/) righe[i] = "Suites: bookworm-backports"
          if (righe[i] !~ /^#/) printf "%s\n", righe[i]
        }
        fatto = 1
      }')
    if [ -n "$origine" ]; then
      printf '%s\n' "$origine" | $SUDO tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
    else
      origine=$(grep -hE '^deb[[:space:]].*[[:space:]]bookworm[[:space:]]' /etc/apt/sources.list 2>/dev/null | head -1 || true)
      [ -n "$origine" ] || { echo "No Debian bookworm source to add its backports to." >&2; return 1; }
      sed -E 's/[[:space:]]bookworm[[:space:]].*/ bookworm-backports main/' <<<"$origine" |
        $SUDO tee /etc/apt/sources.list.d/bookworm-backports.list >/dev/null
    fi
    aggiornato=""
  fi
  if ! dpkg-query -W -f='${Status} ${Version}' qemu-user-static 2>/dev/null | grep -q 'install ok installed .*bpo'; then
    $SUDO apt-get update -q
    aggiornato=1
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends \
      -t bookworm-backports qemu-user-static
  fi
}

# i386 ELF executables and shared objects go to the emulator; F opens it now,
# so that it also serves other mount namespaces. A registration that exists is
# left as it is.
registra_i386() {
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$binfmt"
  [ -e "$binfmt/qemu-i386" ] && return 0
  printf '%s\n' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
    $SUDO tee "$binfmt/register" >/dev/null
}

installa "${packages[@]}"
wine --version >/dev/null 2>&1 && exit 0
echo "This kernel runs no 32-bit programs: 32-bit Wine is set up to run through qemu-i386."
if installa_qemu && registra_i386 && wine --version >/dev/null 2>&1; then
  exit 0
fi
echo "The emulator could not be set up: the tests and the demo will run a 64-bit build under 64-bit Wine."
installa "${packages64[@]}"
