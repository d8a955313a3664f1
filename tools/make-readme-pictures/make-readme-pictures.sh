#!/usr/bin/env bash
# make-readme-pictures.sh [BUILD_DIR] [OUT_DIR]
#
# Writes the README's two pictures into OUT_DIR (default resources/readme),
# both made by the project's own programs from BUILD_DIR (default build):
#   stencil-and-gel.png  two stencils beside their gels as gelcoat-render
#                        makes them at the default settings: a word set in
#                        black on white, and Moss, the start picture, whose
#                        colours come with an alpha channel;
#   window.png           the document window on Moss, as gelcoat-gallery
#                        grabs it.
# ImageMagick only sets the word and lays the pictures out. The files carry
# no time stamps, so a run over unchanged programs changes nothing.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
out="${2:-$root/resources/readme}"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
grey='#ececec'   # the gallery's window grey, behind both pictures

for tool in convert montage; do
  command -v "$tool" >/dev/null || { echo "make-readme-pictures: $tool missing (scripts/install-deps.sh installs imagemagick)" >&2; exit 1; }
done
[ -f "$font" ] || { echo "make-readme-pictures: $font missing (fonts-dejavu-core)" >&2; exit 1; }

cmake --build "$build" -j2 --target gelcoat-render gelcoat-gallery
render="$build/app/render/gelcoat-render"
gallery="$build/tools/gallery/gelcoat-gallery"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
# No date or time chunks, and nothing else that changes from run to run.
stable=(-strip -define png:exclude-chunks=date,time -depth 8)

# A flat stencil: black shapes on white, stored as RGB so that the intake
# takes the darkness as the coverage.
convert -size 240x120 xc:white -fill black -font "$font" -pointsize 96 \
  -gravity center -annotate +0+0 'Gel' -type TrueColor "PNG24:$work/word.png"
cp "$root/resources/images/start.png" "$work/moss.png"
for stencil in word moss; do
  # Full size, and room for the whole shadow.
  "$render" "$work/$stencil.png" --set FinalSize=100 --fit-shadow -o "$work/$stencil-gel.png"
done

# One row: each stencil followed by its gel, with a caption under each; the
# smaller pictures are centred on the height of the tallest.
tallest=0
for picture in word word-gel moss moss-gel; do
  height="$(identify -format '%h' "$work/$picture.png")"
  [ "$height" -gt "$tallest" ] && tallest="$height"
done
for picture in word word-gel moss moss-gel; do
  convert "$work/$picture.png" -background none -gravity center \
    -extent "$(identify -format '%w' "$work/$picture.png")x$tallest" "PNG32:$work/$picture-tall.png"
done
montage -background "$grey" -fill '#333333' -font "$font" -pointsize 15 \
  -label 'stencil: black on white' "$work/word-tall.png" -label 'its gel' "$work/word-gel-tall.png" \
  -label 'stencil: colours with alpha' "$work/moss-tall.png" -label 'its gel' "$work/moss-gel-tall.png" \
  -tile 4x1 -geometry '+14+10' "$work/row.png"
convert "$work/row.png" -background "$grey" -alpha remove -alpha off "${stable[@]}" \
  "PNG24:$out/stencil-and-gel.png"

QT_QPA_PLATFORM=offscreen "$gallery" "$work/gallery" >/dev/null
convert "$work/gallery/window-moss.png" "${stable[@]}" "$out/window.png"

for picture in stencil-and-gel.png window.png; do
  echo "$out/$picture: $(identify -format '%wx%h' "$out/$picture"), $(stat -c %s "$out/$picture") bytes"
done
