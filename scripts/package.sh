#!/usr/bin/env bash
# Builds the Debian package qiwu_<version>_amd64.deb from a release build and leaves it in this
# folder. The build folder is build-release/ (PACKAGE_BUILD_DIR chooses another, e.g. a release
# build whose tests have already run); tests and benchmarks are not built there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${PACKAGE_BUILD_DIR:-build-release}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQIWU_TESTS=OFF -DQIWU_BENCH=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)"
rm -f qiwu_*.deb
(cd "$BUILD_DIR" && cpack -G DEB)
cp "$BUILD_DIR"/qiwu_*.deb .
ls -l qiwu_*.deb
