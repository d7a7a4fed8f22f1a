#!/usr/bin/env bash
# Installs what building, testing and running Orbelan needs on Debian 12.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache mold pkg-config clang-format file
  qt6-base-dev libgl-dev
  firebird-dev libfbclient2 firebird3.0-server firebird3.0-utils
  libgtest-dev libgmock-dev
  cups cups-client cups-bsd libcups2-dev
  xvfb xauth fonts-dejavu-core
  libzint-dev zbar-tools poppler-utils
  clang libclang-rt-14-dev
  libsqlite3-dev qt6-charts-dev libqt6opengl6-dev libxlsxwriter-dev
  python3-openpyxl python3-xlrd gnumeric
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
