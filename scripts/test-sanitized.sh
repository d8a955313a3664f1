#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitized/, and runs every test.
# GELCOAT_WERROR=ON makes every compiler warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build_dir="${BUILD_DIR:-build-sanitized}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGELCOAT_SANITIZE=ON \
  -DGELCOAT_BUILD_BENCH=OFF -DGELCOAT_WERROR="${GELCOAT_WERROR:-OFF}"
cmake --build "$build_dir" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
# Leaks are not checked: Qt and fontconfig keep process-lifetime caches.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
