#!/usr/bin/env bash
# Sets everything up and starts 栖坞 on the demo city.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/qiwu "$@"
fi
exec build/bin/qiwu "$@"
