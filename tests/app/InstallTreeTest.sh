#!/usr/bin/env bash
# What `cmake --install` puts into a prefix: the editor, its desktop entry offering it for Lua scripts,
# its icon and its AppStream metainfo, each accepted by the desktop's own validators. Builds nothing:
# it installs the build tree the tests run from.
# Usage: InstallTreeTest.sh <build-dir> <appstream-id> <version> <with-screenshot: 0|1>
set -euo pipefail
build=$1 id=$2 version=$3 screenshot=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

editor=$prefix/bin/tarvane-le
desktop=$prefix/share/applications/tarvane-le.desktop
icon=$prefix/share/icons/hicolor/48x48/apps/tarvane-le.png
metainfo=$prefix/share/metainfo/$id.metainfo.xml
for f in "$editor" "$desktop" "$icon" "$metainfo"; do
  [ -f "$f" ] || fail "not installed: ${f#"$prefix"/}"
done
[ -x "$editor" ] || fail "the editor is not executable"
[ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "the icon is not a PNG"

# The installed editor answers from anywhere, without a display.
out=$(cd / && env -u DISPLAY "$editor" --version) || fail "--version failed"
[ "$out" = "tarvane-le $version" ] || fail "--version printed '$out'"

grep -qx 'Exec=tarvane-le %f' "$desktop" || fail "the desktop entry does not open a file with the editor"
grep -q '^MimeType=.*text/x-lua;' "$desktop" || fail "the desktop entry is not offered for Lua scripts"
grep -q "<launchable type=\"desktop-id\">tarvane-le.desktop</launchable>" "$metainfo" || fail "metainfo names no desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo does not release version $version"
if [ "$screenshot" = 1 ]; then
  grep -q '<caption>' "$metainfo" || fail "metainfo has no screenshot caption"
else
  ! grep -q '<screenshot' "$metainfo" || fail "metainfo has a screenshot without an address"
fi

# The validators are part of what the tests need (scripts/install-deps.sh installs them): a check that
# skips them would pass a desktop entry or metainfo that the desktop refuses.
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (scripts/install-deps.sh installs desktop-file-utils)"
command -v appstreamcli >/dev/null || fail "appstreamcli is missing (scripts/install-deps.sh installs appstream)"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
echo "install tree OK"
