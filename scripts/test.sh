#!/usr/bin/env bash
# Sets everything up and runs all tests through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd "${BUILD_DIR:-build}"
# build.sh installed the real open-data fixtures: a test that needs them fails rather than skips.
export QIWU_REQUIRE_FIXTURES=1
ctest --output-on-failure -j"$(nproc)"
