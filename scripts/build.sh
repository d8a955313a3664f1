#!/usr/bin/env bash
# Installs what is missing and builds every target into BUILD_DIR (default build/).
# GELCOAT_WERROR=ON makes every compiler warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build_dir="${BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DGELCOAT_WERROR="${GELCOAT_WERROR:-OFF}"
cmake --build "$build_dir" -j "$(nproc)"
