#!/usr/bin/env bash
# Builds the Debian package qiwu_<version>_amd64.deb from a release build (in build-release/)
# and leaves it in this folder. The tests and benchmarks are not built.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${PACKAGE_BUILD_DIR:-build-release}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQIWU_BENCH=OFF -DQIWU_TESTS=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)"
(cd "$BUILD_DIR" && cpack -G DEB)
cp "$BUILD_DIR"/qiwu_*.deb .
ls -l qiwu_*.deb
