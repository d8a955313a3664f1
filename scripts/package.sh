#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# (build/gelcoat_<version>_<arch>.deb, installed under /usr), then checks it
# with lintian: any error fails the script.
#   sudo apt install ./build/gelcoat_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir="${BUILD_DIR:-build}"
(cd "$build_dir" && cpack -G DEB)
deb="$(ls -t "$build_dir"/gelcoat_*.deb | head -n 1)"
# Warnings stay warnings: an unofficial package has no Debian bug reports to
# close, no upstream signature and so on.
lintian --fail-on error "$deb"
echo "Made $deb"
