#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Zelmo need.
# Only missing packages are installed, so a second run takes seconds.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  qt6-translations-l10n qt6-qpa-plugins
  libqscintilla2-qt6-dev
  libsqlite3-dev libicu-dev libzip-dev pxlib-dev
  fonts-liberation2 fonts-wine fonts-dejavu
  xvfb xauth xdg-utils
  python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
