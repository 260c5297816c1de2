#!/usr/bin/env bash
# Installs what is missing, builds and starts Quillwave. Extra arguments go
# to the browser (an address, a .vgp file, --new).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QW_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

if [ "$(id -u)" -eq 0 ] && [ -z "${QTWEBENGINE_DISABLE_SANDBOX:-}" ]; then
  echo "warning: running as root: the page renderer's sandbox cannot start for root," >&2
  echo "warning: so it is switched off for this run (QTWEBENGINE_DISABLE_SANDBOX=1)." >&2
  echo "warning: run Quillwave as an ordinary user to keep pages sandboxed." >&2
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Quillwave inside a virtual display (Xvfb)." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/quillwave" "$@"
fi
exec "$build/bin/quillwave" "$@"
