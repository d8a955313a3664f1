#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Gelcoat, on
# Debian 12 (bookworm) or 13 (trixie). Only packages that are missing are
# installed; runs as root or through sudo.
set -euo pipefail

# Versionless names where Debian has them, so that one list serves both
# releases. An entry "a|b" names one need under the names of different
# releases: it counts as present when any of them is installed, and
# otherwise the first that apt can install on this release is taken.
packages=(
  cmake build-essential pkg-config
  qt6-base-dev qt6-image-formats-plugins qt6-svg-dev qt6-wayland
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  libtiff-dev libpng-dev libdeflate-dev zlib1g-dev libplist-dev libwebp-dev libgtest-dev libbenchmark-dev libhwy-dev
  fonts-dejavu-core xvfb xauth python3
  clang libclang-rt-dev
  imagemagick libtiff-tools time bc
  x11-utils xdotool
  desktop-file-utils appstream libxml2-utils shared-mime-info libglib2.0-bin file
  dpkg-dev lintian
)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for entry in "${packages[@]}"; do
  IFS='|' read -r -a names <<<"$entry"
  present=false
  for name in "${names[@]}"; do
    if installed "$name"; then present=true; break; fi
  done
  "$present" || missing+=("$entry")
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
# apt knows what this release has only after an update: a fresh system's
# lists are empty.
"${sudo[@]}" apt-get update

# The name this release has: the first with an installable version.
candidate() {
  apt-cache policy "$1" 2>/dev/null | awk '$1 == "Candidate:" && $2 != "(none)" { found = 1 } END { exit !found }'
}
chosen=()
for entry in "${missing[@]}"; do
  IFS='|' read -r -a names <<<"$entry"
  pick=""
  for name in "${names[@]}"; do
    if candidate "$name"; then pick="$name"; break; fi
  done
  if [ -z "$pick" ]; then
    echo "install-deps: this system's package sources have none of: ${names[*]}" >&2
    exit 1
  fi
  chosen+=("$pick")
done
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${chosen[@]}"
