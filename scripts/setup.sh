#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run the demo.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-tools-dev qt6-tools-dev-tools
  qt6-l10n-tools qt6-translations-l10n
  libqt6sql6-sqlite libqt6sql6-odbc qt6-qpa-plugins libqt6opengl6-dev
  libgl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsqlite3-dev sqlite3
  unixodbc unixodbc-dev odbc-postgresql tdsodbc
  postgresql postgresql-client
  xvfb xauth x11-utils
  fonts-liberation fonts-dejavu-core fonts-wine
  tzdata
  clang libclang-rt-14-dev
  dpkg-dev file python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
echo "setup: all packages present"
