#!/usr/bin/env bash
# Installs what is missing, builds with ThreadSanitizer into build-tsan/ and
# runs the tests where threads meet: the window's render worker and picture
# intake, and the hand-over between running programs. Reports inside the
# system's (uninstrumented) Qt are suppressed by tests/tsan-qt.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build_dir="${BUILD_DIR:-build-tsan}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-fsanitize=thread \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DGELCOAT_BUILD_BENCH=OFF
cmake --build "$build_dir" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan-qt.supp halt_on_error=1 exitcode=66 report_signal_unsafe=0"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" -R 'gelcoat-window-tst_|tst_SingleInstance'
