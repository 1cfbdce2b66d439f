#!/usr/bin/env bash
# Builds the Debian package from the build tree and inspects its files and control fields.
set -euo pipefail
build=$1
if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
  echo "FAIL: dpkg-deb and dpkg-shlibdeps are needed (scripts/bootstrap installs dpkg-dev)"
  exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1) || {
  cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$out"/morvik_*.deb)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/morvik ./usr/bin/morvik-cli \
         ./usr/share/applications/org.morvik.Morvik.desktop \
         ./usr/share/metainfo/org.morvik.Morvik.metainfo.xml \
         ./usr/share/mime/packages/morvik.xml \
         ./usr/share/icons/hicolor/scalable/apps/morvik.svg \
         ./usr/share/man/man1/morvik.1.gz ./usr/share/man/man1/morvik-cli.1.gz; do
  echo "$files" | grep -qx "$f" || fail "package lacks $f"
done
# Nothing of the build or the tests goes into the package.
echo "$files" | grep -Eq '(_tests|bench_|grid-demo|list-demo|\.a$)' && fail "package carries build-only files"

[ "$(dpkg-deb -f "$deb" Package)" = morvik ] || fail "Package field"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for d in libqt6widgets6 libqt6printsupport6 libc6 fonts-arphic-uming qt6-qpa-plugins; do
  echo "$depends" | grep -q "$d" || fail "Depends lacks $d"
done
[ "$failures" -eq 0 ] || exit 1
echo "package: all checks passed ($(basename "$deb"))"
