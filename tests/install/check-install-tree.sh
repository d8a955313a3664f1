#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what the desktop
# reads there: the desktop entry, the document type, the AppStream metadata,
# the icons and the man page; then that a document is recognised by its
# type once the prefix's MIME database is built.
#   check-install-tree.sh BUILD_DIR IDENTIFIER
set -euo pipefail
build="$1"
id="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
share="$prefix/share"
fail() { echo "check-install-tree: $*" >&2; exit 1; }

for f in bin/gelcoat bin/gelcoat-render; do
  [ -x "$prefix/$f" ] || fail "$f is not installed"
done
desktop="$share/applications/$id.desktop"
desktop-file-validate "$desktop"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
grep -q "^MimeType=application/x-gelcoat;" "$desktop" || fail "the desktop entry lacks the document type"

xmllint --noout "$share/mime/packages/gelcoat.xml"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"

for side in 16 24 32 48 64 128 256; do
  icon="$share/icons/hicolor/${side}x${side}/apps/$id.png"
  [ -f "$icon" ] || fail "no ${side}x${side} icon"
  file -b "$icon" | grep -q "PNG image data, $side x $side" || fail "$icon is not $side x $side"
done
svg="$share/icons/hicolor/scalable/apps/$id.svg"
xmllint --noout "$svg"
# Vector paths, not a picture wrapped in an SVG.
grep -q "<path" "$svg" || fail "the scalable icon has no paths"
! grep -q "<image" "$svg" || fail "the scalable icon embeds a picture"

zcat "$share/man/man1/gelcoat-render.1.gz" | grep -q '^\.TH GELCOAT-RENDER 1' || fail "no man page"
[ -f "$share/gelcoat/Read Me.html" ] || fail "no read-me page"
[ -f "$share/gelcoat/manual/GelcoatManual.html" ] || fail "no manual"
for shot in $(grep -o 'src="[^"]*"' "$share/gelcoat/manual/GelcoatManual.html" | cut -d'"' -f2); do
  [ -f "$share/gelcoat/manual/$shot" ] || fail "the manual shows a missing $shot"
done

# The prefix's own MIME database: a document made by the installed renderer
# is told by its name.
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database failed"
work="$prefix/work"
mkdir -p "$work"
"$prefix/bin/gelcoat-render" --save-document "$work/moss.gelcoat" >/dev/null
type_of() { XDG_DATA_DIRS="$share" XDG_DATA_HOME="$prefix/none" gio info -a standard::content-type "$1" \
              | sed -n 's/^ *standard::content-type: //p'; }
[ "$(type_of "$work/moss.gelcoat")" = application/x-gelcoat ] || fail "a .gelcoat file is $(type_of "$work/moss.gelcoat")"
echo "install tree checked in $prefix"
