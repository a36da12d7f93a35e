#!/usr/bin/env bash
# Installs what is missing, builds and starts the browser (arguments go to the browser).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$root/build/bin/orbwell" "$@"
fi
exec "$root/build/bin/orbwell" "$@"
