#!/usr/bin/env bash
# Makes the Debian package from the build into a temporary folder and checks
# it: lintian finds no error, it depends on the packages of every shared
# library its programs load, and it carries no maintainer scripts, leaving
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
# Every shared library the programs load comes from a package the package
# depends on. The names are this system's (libplist3 on Debian 12,
# libplist-2.0-4 on 13, t64 names elsewhere), found from the libraries.
depended="$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/[[:space:]]//g')"
dpkg-deb -x "$deb" "$out/tree"
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
checked=0
for program in "$out"/tree/usr/bin/*; do
  for soname in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    owners="$(dpkg-query -S "*/$multiarch/$soname" 2>/dev/null | sed 's|: /.*||' | tr ',' '\n' |
              sed 's/:.*//; s/[[:space:]]//g' | sort -u)"
    [ -n "$owners" ] || fail "no installed package has $soname, which $(basename "$program") needs"
    found=false
    for owner in $owners; do
      if grep -qxF "$owner" <<<"$depended"; then found=true; fi
    done
    "$found" || fail "$(basename "$program") needs $soname from $(echo $owners), which Depends lacks: $depends"
    checked=$((checked + 1))
  done
done
[ "$checked" -ge 5 ] || fail "only $checked libraries found in the programs"
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
echo "package checked: $(basename "$deb"), the packages of its programs' $checked libraries among its dependencies"
