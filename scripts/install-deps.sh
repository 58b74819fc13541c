#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, run and test.
# Usage: scripts/install-deps.sh [extra-package...]
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  qt6-base-dev libgl-dev
  libfreetype-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev
  fonts-liberation2 fonts-dejavu-core
  libgtest-dev clang-format locales liblua5.1-0-dev lua-check
  xvfb xauth xdotool x11-utils libx11-dev libxtst-dev
  desktop-file-utils appstream
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1 && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
  run=(sudo)
else
  echo "error: these Debian packages are missing and I can install them only as root or through sudo:" >&2
  echo "  ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
