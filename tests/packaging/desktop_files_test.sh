#!/usr/bin/env bash
# Validates the desktop entry, the AppStream metainfo and the data-file type, and checks
# that the type is recognised by its magic bytes.
set -euo pipefail
dir=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$dir/org.morvik.Morvik.desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || { echo "$out"; echo "$out" | grep -q 'error:' && fail "desktop entry has errors"; }
else
  echo "desktop-file-validate not installed: desktop entry not validated"
fi

if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$dir/org.morvik.Morvik.metainfo.xml" || fail "appstreamcli validate"
elif command -v appstream-util >/dev/null; then
  appstream-util validate-relax --nonet "$dir/org.morvik.Morvik.metainfo.xml" || fail "appstream-util validate-relax"
else
  echo "no AppStream validator installed: metainfo not validated"
fi

grep -q '^Exec=morvik %f$' "$dir/org.morvik.Morvik.desktop" || fail "Exec line"
grep -q '^MimeType=application/x-morvik-data;$' "$dir/org.morvik.Morvik.desktop" || fail "MimeType line"
grep -q '^Name\[zh_CN\]=' "$dir/org.morvik.Morvik.desktop" || fail "Chinese name"

if command -v update-mime-database >/dev/null; then
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  mkdir -p "$tmp/mime/packages"
  cp "$dir/morvik-mime.xml" "$tmp/mime/packages/morvik.xml"
  update-mime-database "$tmp/mime" >/dev/null 2>&1 || fail "update-mime-database"
  # The compiled magic must hold our type with the six leading bytes of a data file.
  grep -aq 'application/x-morvik-data' "$tmp/mime/magic" || fail "type missing from the magic table"
  python3 -c 'import sys; sys.exit(0 if b"\x58\x18\x00\x00\x64\x00" in open(sys.argv[1], "rb").read() else 1)' \
    "$tmp/mime/magic" || fail "magic bytes missing"
  grep -q 'application/x-morvik-data' "$tmp/mime/globs2" || fail "glob missing"
else
  echo "update-mime-database not installed: data-file type not compiled"
fi

[ "$failures" -eq 0 ] || exit 1
echo "desktop files: all checks passed"
