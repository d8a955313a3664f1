#!/usr/bin/env bash
# Installs what is missing, builds, and starts the application when there
# is a display to show it on.  Without one it says so and renders the
# built-in start picture with the default settings into gelcoat.tiff in the
# current folder instead.  Arguments go to the program that runs: files to
# open, or gelcoat-render's options.
set -euo pipefail
here="$(pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/${BUILD_DIR:-build}"
bash "$root/scripts/build.sh"
cd "$here"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/app/gelcoat" "$@"
fi
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): not starting the application;"
echo "rendering the start picture with gelcoat-render instead."
"$build/app/render/gelcoat-render" "$@"
if [ "$#" -eq 0 ]; then
  echo "Wrote $(pwd)/gelcoat.tiff"
fi
