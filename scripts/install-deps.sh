#!/usr/bin/env bash
# Installs what building, testing and running need, from Debian 12 packages only.
# Safe to run again: it installs only what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc qt6-charts-dev
  qt6-translations-l10n libgl-dev libqt6opengl6-dev libxkbcommon-dev libvulkan-dev
  libxlsxwriter-dev zlib1g-dev libzip-dev libsqlite3-dev libfreexl-dev
  unixodbc-dev tdsodbc
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-noto-core
  xvfb xauth
  python3 python3-xlrd python3-openpyxl python3-dbfread poppler-utils pxlib-dev sqlite3
  libreoffice-writer-nogui
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
