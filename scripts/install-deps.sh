#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Gelcoat.
# Only packages that are missing are installed; runs as root or through sudo.
set -euo pipefail

packages=(
  cmake build-essential pkg-config
  qt6-base-dev qt6-image-formats-plugins
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  libtiff-dev libpng-dev libdeflate-dev zlib1g-dev libplist-dev libgtest-dev libbenchmark-dev libhwy-dev
  fonts-dejavu-core xvfb xauth python3
  clang libclang-rt-14-dev
  imagemagick time bc
  x11-utils xdotool
  desktop-file-utils appstream libxml2-utils shared-mime-info libglib2.0-bin file
  dpkg-dev lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
