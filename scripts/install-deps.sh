#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: packages already present are left alone, so a second run is quick.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config git ca-certificates
  # core libraries
  libsqlite3-dev libzip-dev libpugixml-dev libsodium-dev libfreexl-dev
  libxlsxwriter-dev nlohmann-json3-dev libcli11-dev
  # desktop program
  # (Qt6Charts finds its OpenGL modules through libqt6opengl6-dev)
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  # Chinese texts of Qt's own dialogs (file choices, standard buttons)
  qt6-translations-l10n
  # tests
  googletest libgtest-dev
  # Chinese fonts for windows and reports
  fonts-noto-cjk
  # .doc conversion and printing of filed forms
  libreoffice-writer-nogui
  # running the desktop program without a display
  xvfb xauth
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
