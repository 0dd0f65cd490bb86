#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the setup program.
# Idempotent and quick when everything is there; as root it calls apt-get directly, otherwise sudo.
set -euo pipefail

packages=(
    cmake g++ make python3 clang
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
    wine wine64 wine32:i386 wine32-preloader:i386 xvfb xauth imagemagick
    libgtest-dev googletest libbenchmark-dev zlib1g-dev libssl-dev
    unicode-data libtomlplusplus-dev python3-pefile
)

sudo_if_needed() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || sudo_if_needed dpkg --add-architecture i386
    sudo_if_needed apt-get update -qq
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# 32-bit Wine needs a kernel that runs i386 programs; where a virtual machine switched that off,
# the script provides a qemu-i386 that can run 32-bit Wine. It changes nothing where none is needed.
if ! sudo_if_needed "$(dirname "$0")/enable-i386-wine.sh"; then
    echo "setup: 32-bit Windows programs cannot run under Wine on this machine; only 64-bit tests will run" >&2
fi
