#!/usr/bin/env bash
# Fails when a tracked C++ file does not match the checked-in .clang-format (clang-format 14, Debian 12's).
# Run `git ls-files '*.cpp' '*.h' | xargs clang-format-14 -i` to format them.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
