#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Qiwu need.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  libgdal-dev gdal-bin mdbtools-dev mdbtools libsqlite3-dev sqlite3
  libboost-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk xvfb xauth strace
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

# Test fixtures published as npm packages, installed into build-deps/ (ignored by git).
# A Node.js that brings its own npm is kept.
if ! command -v npm >/dev/null; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends npm
fi
deps="$(cd "$(dirname "$0")/.." && pwd)/build-deps"
fixtures=(sample-gtfs-feed@0.13.0)
if [ ! -f "$deps/node_modules/sample-gtfs-feed/gtfs.zip" ]; then
  mkdir -p "$deps"
  npm install --prefix "$deps" --no-save --no-audit --no-fund --ignore-scripts "${fixtures[@]}"
fi
