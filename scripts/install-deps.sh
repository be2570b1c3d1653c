#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Qiwu need.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  libgdal-dev gdal-bin mdbtools-dev mdbtools libsqlite3-dev sqlite3
  libboost-dev libicu-dev python3 unicode-data
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk xvfb xauth strace
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
