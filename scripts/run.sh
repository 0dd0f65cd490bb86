#!/usr/bin/env bash
# Builds the setup program and runs it under Wine in a private sandbox prefix (build/run-wine),
# so nothing of the user's own Wine or system is touched.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh --program

if [ -z "${DISPLAY:-}" ]; then
    echo "run: no display (DISPLAY is not set). The setup program is an interactive wizard; start this"
    echo "     command from a graphical session, or give it one, e.g.: xvfb-run -a scripts/run.sh"
    exit 1
fi
if ! scripts/wine-run --can-run-32bit; then
    echo "run: this machine cannot run 32-bit Windows programs under Wine (no 32-bit support in the kernel)." >&2
    exit 1
fi
exec scripts/wine-run build/run-wine/win32 build/windows/setup.exe
