#!/usr/bin/env bash
# Builds every tree: host tools and tests first (the Windows builds run the host tools), then the
# shipped program, then the Windows test executables.
#   scripts/build.sh            everything
#   scripts/build.sh --program  only what the program needs (host tools and the program)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-machine.sh

jobs=${JOBS:-2}
configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -Wno-dev "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}

configure_and_build build/host -DSANITIZE=ON
configure_and_build build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/Toolchain-mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=MinSizeRel
[ "${1:-}" = --program ] && exit 0

configure_and_build build/windows-tests-x64 -DCMAKE_TOOLCHAIN_FILE=cmake/Toolchain-mingw-x86_64-tests.cmake
if scripts/wine-run --can-run-32bit; then
    configure_and_build build/windows-tests-x86 -DCMAKE_TOOLCHAIN_FILE=cmake/Toolchain-mingw-i686-tests.cmake
else
    echo "build: this machine cannot run 32-bit Wine; the 32-bit Windows tests are not built" >&2
    rm -rf build/windows-tests-x86
fi
