#!/usr/bin/env bash
# Builds and runs the benchmarks: medians of 20 repetitions, then the peak
# memory of gelcoat-render on the 4096 × 4096 benchmark stencil.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir="${BUILD_DIR:-build}"
"$build_dir/bench/gelcoat-bench" --benchmark_repetitions=20 \
  --benchmark_report_aggregates_only=true "$@"
stencil="$(mktemp --suffix=.png)"
out="$(mktemp --suffix=.tiff)"
"$build_dir/bench/gelcoat-bench" --write-stencil 4096 "$stencil"
if [ -x /usr/bin/time ]; then
  /usr/bin/time -f "gelcoat-render 4096x4096, radius-20 shadow: %e s, peak %M KiB resident" \
    "$build_dir/app/render/gelcoat-render" "$stencil" -o "$out" --set ShadowSharpness=5
fi
rm -f "$stencil" "$out"
