#!/usr/bin/env bash
# The whole test suite under AddressSanitizer + UndefinedBehaviorSanitizer (build-asan,
# -DQIWU_SANITIZE=ON), then a LeakSanitizer run of start-up, a search of every kind and a city
# switch (the read-only data set test drives exactly these). Heavy: run it niced, once.
#   scripts/sanitize.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build-asan}
JOBS=${JOBS:-$(nproc)}

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQIWU_SANITIZE=ON -DQIWU_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$JOBS"

# Leaks are left to the dedicated run below: Qt and fontconfig keep caches for the life of
# the process that every test program would otherwise report.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
(cd "$BUILD" && ctest --output-on-failure -j"$JOBS" --timeout 3600 "$@")

# No suppressions: the run reports no leak, not even inside Qt, fontconfig or GDAL. Should a
# system library ever need one, a suppressions file goes in LSAN_OPTIONS here, never for our code.
echo "== LeakSanitizer: start-up, every search, city switch"
ASAN_OPTIONS=detect_leaks=1 QIWU_SOURCE_DIR=$PWD "$BUILD/bin/reliability_tests" --gtest_filter='ReadOnlyDataSet.*'
