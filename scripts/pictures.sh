#!/usr/bin/env bash
# Builds everything and takes again every picture of the help pages (help/images) and the
# README (docs/images) from the demo city, writing them in place in this checkout. The window
# runs under a virtual X server, so the pictures do not depend on the desktop's theme.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
bin=${BUILD_DIR:-build}/bin
xvfb-run -a -s "-screen 0 1600x1000x24" "$bin/qiwu_screenshots" "$bin" .
# The old town within its moat, the districts round it and the river to the south west.
"$bin/qiwu-cli" render --out docs/images/demo-city.png --width 1200 --height 1000 \
  --center 500000 3399500 --view-width 4000
