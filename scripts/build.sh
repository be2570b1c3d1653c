#!/usr/bin/env bash
# Installs what the build needs, configures and builds everything: the program, qiwu-cli,
# the tests, the benchmarks and the demo city beside the program (build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$BUILD_DIR" -j"$(nproc)"
