#!/usr/bin/env bash
# Builds everything and runs every test: checks of the program itself, host tests (sanitized), then
# the Windows tests under Wine in private prefixes (build/wine), with a virtual display for windows.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh || exit 1

status=0
check() {
    local name=$1
    shift
    if "$@"; then echo "$name: passed"; else echo "$name: FAILED"; status=1; fi
}

echo "== the program"
check "imports known to Windows 2000" scripts/check-imports.sh build/windows/setup.exe
# A second tree in another folder must give the same bytes: no time stamps, no build paths.
cmake -S . -B build/windows-repro -DCMAKE_TOOLCHAIN_FILE=cmake/Toolchain-mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=MinSizeRel -Wno-dev >/dev/null && cmake --build build/windows-repro -j2 >/dev/null
check "reproducible build" cmp build/windows/setup.exe build/windows-repro/setup.exe

echo "== host tests"
ctest --test-dir build/host --output-on-failure -j2 || status=1
for tree in build/windows-tests-x64 build/windows-tests-x86; do
    [ -d "$tree" ] || continue
    echo "== Windows tests under Wine: $tree"
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$tree" --output-on-failure -j2 || status=1
done
exit $status
