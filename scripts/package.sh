#!/usr/bin/env bash
# Builds the Debian package qiwu_<version>_amd64.deb from a release build and leaves it in this
# folder; CPack strips the programs. The build folder is build-release/, built as Release;
# PACKAGE_BUILD_DIR and PACKAGE_BUILD_TYPE choose another, e.g. CI packages the RelWithDebInfo build
# whose tests have just passed. Tests and benchmarks are not built there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${PACKAGE_BUILD_DIR:-build-release}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${PACKAGE_BUILD_TYPE:-Release}" -DQIWU_TESTS=OFF -DQIWU_BENCH=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)"
rm -f qiwu_*.deb
(cd "$BUILD_DIR" && cpack -G DEB)
cp "$BUILD_DIR"/qiwu_*.deb .
ls -l qiwu_*.deb
