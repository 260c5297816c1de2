#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite in a
# virtual display. Ends with CTest's summary line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QW_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
# The engine refuses its sandbox as root; tests always run without it.
export QTWEBENGINE_DISABLE_SANDBOX=1
cd "$build"
exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 "$@"
