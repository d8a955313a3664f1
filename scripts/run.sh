#!/usr/bin/env bash
# Installs what is missing, builds, and renders the built-in start picture
# with the default settings into gelcoat.tiff in the current folder.
set -euo pipefail
here="$(pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh"
cd "$here"
"$root/${BUILD_DIR:-build}/app/render/gelcoat-render" "$@"
echo "Wrote $(pwd)/gelcoat.tiff"
