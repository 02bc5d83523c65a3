#!/usr/bin/env bash
# Installs the Debian packages Quillon needs to build, test and run, and only
# those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libqt6opengl6-dev libxkbcommon-dev
  qt6-svg-dev qt6-image-formats-plugins libqt6svg6 qt6-charts-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  poppler-utils xvfb xauth fonts-liberation xdg-utils x11-apps imagemagick
  locales python3 chromium
  dpkg-dev lintian appstream desktop-file-utils
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so the tests can prove numbers never follow it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if [ -f /etc/locale.gen ]; then
    $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null || true
  fi
fi
