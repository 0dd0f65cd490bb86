#!/usr/bin/env bash
# Builds everything and runs every test: host tests (sanitized), then the Windows tests under Wine
# in private prefixes (build/wine), with a virtual display for the window tests.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh || exit 1

status=0
echo "== host tests"
ctest --test-dir build/host --output-on-failure -j2 || status=1
for tree in build/windows-tests-x64 build/windows-tests-x86; do
    [ -d "$tree" ] || continue
    echo "== Windows tests under Wine: $tree"
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$tree" --output-on-failure -j2 || status=1
done
exit $status
