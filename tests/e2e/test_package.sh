#!/bin/bash
# The Debian package: CPack builds cornkeeper_<version>_amd64.deb with its Depends computed from the
# binary's libraries, the game in /usr/games and its data under /usr/share, and lintian reports
# no error on it.
set -u
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

version=$(sed -n 's/^project([^)]*VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work") >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 5 "$work/cpack.log")"
deb="$work/cornkeeper_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work")"
echo "ok: $(basename "$deb") built"

depends=$(dpkg-deb --field "$deb" Depends)
# Computed, not typed: versioned entries for the libraries the binary really links.
for library in libc6 libsdl2-2.0-0 libsdl2-mixer-2.0-0 libgl1 libstdc++6; do
  echo "$depends" | grep -q "\b$library\b" || fail "Depends lacks $library: $depends"
done
echo "$depends" | grep -q "libc6 (>= " || fail "Depends has no computed versions: $depends"
echo "ok: Depends: $depends"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in ./usr/games/cornkeeper ./usr/share/applications/org.cornkeeper.Cornkeeper.desktop \
  ./usr/share/cornkeeper/graphics/title.tga ./usr/share/cornkeeper/sound/boo.wav \
  ./usr/share/man/man6/cornkeeper.6.gz ./usr/share/icons/hicolor/16x16/apps/org.cornkeeper.Cornkeeper.png; do
  echo "$contents" | grep -qxF "$file" || fail "the package lacks $file"
done
echo "$contents" | grep -q "^./usr/bin/" && fail "the package still has usr/bin"
echo "ok: the game in /usr/games, its data, entry, icons and manual page under /usr/share"

lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1
grep -E '^E: ' "$work/lintian.log" && fail "lintian reports errors"
echo "ok: lintian reports no error ($(grep -c '^[WI]: ' "$work/lintian.log") warnings or notes)"
echo "PASS"
