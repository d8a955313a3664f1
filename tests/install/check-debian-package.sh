#!/usr/bin/env bash
# Makes the Debian package from the build into a temporary folder and checks
# it: lintian finds no error, the library dependencies were found by
# dpkg-shlibdeps, and the package carries no maintainer scripts, leaving
# the MIME, desktop and icon databases to dpkg's file triggers.
#   check-debian-package.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
fail() { echo "check-debian-package: $*" >&2; exit 1; }
(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null)
deb="$(ls "$out"/gelcoat_*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6widgets6 libtiff6 libplist3; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
dpkg-deb -c "$deb" | grep -q ' ./usr/share/mime/packages/gelcoat.xml$' || fail "not installed under /usr"
dpkg-deb -e "$deb" "$out/control"
for script in preinst postinst prerm postrm; do
  [ ! -e "$out/control/$script" ] || fail "the package has a $script"
done
if ! report="$(lintian --fail-on error "$deb" 2>&1)"; then
  echo "$report" >&2
  fail "lintian reports errors"
fi
grep -v 'running with root privileges' <<<"$report" || true
echo "package checked: $(basename "$deb")"
