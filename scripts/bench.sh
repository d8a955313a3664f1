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

# A 250 MB document: a small stencil and a quarter of a gigabyte of text,
# which the reader must get through without holding it several times over.
big_doc="$(mktemp --suffix=.gelcoat)"
base_doc="$(mktemp --suffix=.gelcoat)"
"$build_dir/bench/gelcoat-bench" --write-stencil 256 "$stencil"
"$build_dir/app/render/gelcoat-render" "$stencil" --save-document "$base_doc"
{
  head -n -2 "$base_doc"
  printf '\t<key>Notes</key>\n\t<string>'
  head -c 250000000 /dev/zero | tr '\0' 'x'
  printf '</string>\n'
  tail -n 2 "$base_doc"
} >"$big_doc"
if [ -x /usr/bin/time ]; then
  /usr/bin/time -f "gelcoat-render, $(stat -c %s "$big_doc") byte document: %e s, peak %M KiB resident" \
    "$build_dir/app/render/gelcoat-render" "$big_doc" -o "$out"
fi
rm -f "$stencil" "$out" "$big_doc" "$base_doc"

# Whole processes, timed from the shell: an icon set in one batch call
# against one call per icon, and one render against ImageMagick's recipe.
# The two sides alternate, so that both see the same load, and the median
# of the runs' ratios is reported: other work on the machine moves single
# runs by a factor of two.
render="$build_dir/app/render/gelcoat-render"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Times come from the shell's own clock, $EPOCHREALTIME, whose decimal
# point follows the locale: a date process would add its own start-up to
# every time taken.
export LC_ALL=C
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
"$build_dir/bench/gelcoat-bench" --write-stencil 256 "$work/icon.png"
mkdir "$work/icons"
for i in $(seq 1 200); do cp "$work/icon.png" "$work/icons/icon$i.png"; done
: >"$work/batch.txt"
for _ in 1 2 3; do
  rm -rf "$work/batch"
  start=$EPOCHREALTIME; "$render" "$work"/icons/*.png -o "$work/batch/" --quiet; batch=$(echo "$EPOCHREALTIME - $start" | bc)
  start=$EPOCHREALTIME
  for f in "$work"/icons/*.png; do "$render" "$f" -o "$work/one.tiff"; done
  single=$(echo "$EPOCHREALTIME - $start" | bc)
  echo "$batch $single $(echo "$single / $batch" | bc -l)" >>"$work/batch.txt"
done
printf '200 stencils of 256 x 256: one batch call %.2f s, 200 calls %.2f s, median ratio %.1f x\n' \
  "$(cut -d' ' -f1 "$work/batch.txt" | median)" "$(cut -d' ' -f2 "$work/batch.txt" | median)" \
  "$(cut -d' ' -f3 "$work/batch.txt" | median)"

im_recipe=bench/im-gel.sh
for side in 256 1024 4096; do
  "$build_dir/bench/gelcoat-bench" --write-stencil "$side" "$work/s$side.png"
  runs=$(( side >= 4096 ? 3 : 9 ))
  : >"$work/runs.txt"
  for _ in $(seq "$runs"); do
    start=$EPOCHREALTIME; "$render" "$work/s$side.png" -o "$work/out.png"
    ours=$(echo "$EPOCHREALTIME - $start" | bc)
    theirs=0
    if command -v convert >/dev/null && [ -f "$im_recipe" ]; then
      start=$EPOCHREALTIME; bash "$im_recipe" "$work/s$side.png" "$work/im.png"
      theirs=$(echo "$EPOCHREALTIME - $start" | bc)
    fi
    echo "$ours $theirs $(echo "$theirs / $ours" | bc -l)" >>"$work/runs.txt"
  done
  printf 'whole process %s x %s, PNG in and out: gelcoat-render %.1f ms' "$side" "$side" \
    "$(cut -d' ' -f1 "$work/runs.txt" | median | sed 's/$/ * 1000/' | bc -l)"
  if [ "$(cut -d' ' -f2 "$work/runs.txt" | median)" != 0 ]; then
    printf ', ImageMagick recipe %.1f ms, median ratio %.1f x' \
      "$(cut -d' ' -f2 "$work/runs.txt" | median | sed 's/$/ * 1000/' | bc -l)" \
      "$(cut -d' ' -f3 "$work/runs.txt" | median)"
  fi
  printf ' (medians of %s alternating runs)\n' "$runs"
done
