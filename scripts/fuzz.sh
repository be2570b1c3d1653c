#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) in build-fuzz and runs each for SECONDS
# (default 600), one after the other, starting from the kept corpus in fuzz/corpus/<target>.
# Afterwards the kept corpus is minimized (-merge=1) with what the run found; a crash leaves its
# reproducer in build-fuzz/artifacts/<target>/ and the script fails. Reproducers kept in the
# corpus (crash-*, timeout-*, oom-*, and repro-* for faults found elsewhere) survive the merge.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: workspace database statement
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-600}
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(workspace database statement)
BUILD=${BUILD_DIR:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQIWU_FUZZ=ON -DQIWU_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target "${TARGETS[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
status=0
for target in "${TARGETS[@]}"; do
  kept=fuzz/corpus/$target
  work=$BUILD/corpus/$target
  artifacts=$BUILD/artifacts/$target
  mkdir -p "$kept" "$work" "$artifacts"
  # The Jet seed is a whole database file; the other targets take short texts.
  max_len=4096
  [ "$target" = database ] && max_len=262144
  echo "== fuzz_$target for ${SECONDS_EACH}s"
  if ! "$BUILD/bin/fuzz_$target" "$work" "$kept" -max_total_time="$SECONDS_EACH" -max_len="$max_len" \
      -timeout=60 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      2>&1 | tee "$BUILD/fuzz_$target.log" | grep -E '^(#[0-9]+ +(INITED|DONE|pulse))|stat::|ERROR|SUMMARY|Test unit written'; then
    :
  fi
  if ls "$artifacts"/crash-* "$artifacts"/timeout-* "$artifacts"/oom-* >/dev/null 2>&1; then
    echo "fuzz_$target left reproducers in $artifacts" >&2
    status=1
  fi
  # Keep a small corpus: only inputs that add coverage, reproducers beside them.
  merged=$(mktemp -d)
  "$BUILD/bin/fuzz_$target" -merge=1 -max_len="$max_len" "$merged" "$kept" "$work" >/dev/null 2>&1 || true
  if [ -n "$(ls -A "$merged")" ]; then
    find "$kept" -type f ! -name 'crash-*' ! -name 'timeout-*' ! -name 'oom-*' ! -name 'repro-*' -delete
    cp "$merged"/* "$kept"/
  fi
  rm -rf "$merged"
  echo "kept corpus: $(ls "$kept" | wc -l) files"
done
exit $status
