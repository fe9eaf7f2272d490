#!/bin/bash
# The install tree: `cmake --install` into a scratch prefix gives exactly the expected files; the
# desktop entry, the metainfo and the manual page pass their checkers; every icon has its size and
# shows something; and the installed game, started from /, draws the title as the golden frame
# shows it, and Escape ends it with 0.
set -u
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$(dirname "$0")/chooser_lib.sh"
prefix="$CHOOSER_TMP/prefix"
app=org.cornkeeper.Cornkeeper

cmake --install "$build" --prefix "$prefix" >"$CHOOSER_TMP/install.log" 2>&1 || fail "cmake --install failed"

# --- the file list ---------------------------------------------------------------------------------
expected="$CHOOSER_TMP/expected" actual="$CHOOSER_TMP/actual"
{
  echo bin/cornkeeper
  echo share/applications/$app.desktop
  echo share/metainfo/$app.metainfo.xml
  echo share/man/man6/cornkeeper.6.gz
  echo share/doc/cornkeeper/copyright
  echo share/doc/cornkeeper/changelog.gz
  for size in 16 32 48 64 128 256; do echo "share/icons/hicolor/${size}x$size/apps/$app.png"; done
  echo share/icons/hicolor/scalable/apps/$app.svg
  (cd "$build" && find graphics sound -type f ! -name .stamp) | sed 's|^|share/cornkeeper/|'
} | sort >"$expected"
(cd "$prefix" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$actual"
diff "$expected" "$actual" >"$CHOOSER_TMP/list.diff" || fail "installed files differ: $(head -n 5 "$CHOOSER_TMP/list.diff")"
[ "$(grep -c '^share/cornkeeper/graphics/' "$actual")" -gt 100 ] || fail "too few pictures installed"
[ "$(grep -c '^share/cornkeeper/sound/.*\.wav$' "$actual")" -gt 10 ] || fail "too few sounds installed"
echo "ok: $(wc -l <"$actual") files installed, exactly the expected ones"

# --- the entry, the metainfo, the manual page, the icons --------------------------------------------
desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop-file-validate"
grep -qx "Categories=Game;ArcadeGame;" "$prefix/share/applications/$app.desktop" || fail "desktop entry categories"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" >"$CHOOSER_TMP/as.log" 2>&1 ||
  fail "appstreamcli validate: $(tail -n 5 "$CHOOSER_TMP/as.log")"
version=$(sed -n 's/^project([^)]*VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$app.metainfo.xml" || fail "metainfo lacks release $version"
echo "ok: the desktop entry and the metainfo (release $version) validate"
man_warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/cornkeeper.6.gz" 2>&1 >"$CHOOSER_TMP/man.txt")
[ -z "$man_warnings" ] || fail "the manual page has warnings: $man_warnings"
for option in --help --version --window --fullscreen --windowed; do
  grep -q -- "$option" "$CHOOSER_TMP/man.txt" || fail "the manual page does not describe $option"
done
for section in OPTIONS KEYS FILES; do grep -q "^$section" "$CHOOSER_TMP/man.txt" || fail "no $section in the manual page"; done
echo "ok: the manual page renders without warnings and covers options, keys and files"
for size in 16 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x$size/apps/$app.png"
  [ "$(identify -format %wx%h "$icon")" = "${size}x$size" ] || fail "the $size icon is $(identify -format %wx%h "$icon")"
  # Opaque over most of the tile, and not one flat colour: a picture, not an empty square.
  cover=$(convert "$icon" -alpha extract -format '%[fx:mean]' info:)
  spread=$(convert "$icon" -alpha off -colorspace Gray -format '%[fx:standard_deviation]' info:)
  less_than 0.7 "$cover" && less_than 0.05 "$spread" || fail "the $size icon is empty or flat (cover $cover, spread $spread)"
done
python3 - "$prefix/share/icons/hicolor/scalable/apps/$app.svg" <<'PY' || fail "the SVG icon is not a drawing"
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
paths = root.findall(".//{http://www.w3.org/2000/svg}path")
sys.exit(0 if root.get("width", "").startswith("256") and len(paths) > 10 else 1)
PY
echo "ok: icons at 16 to 256 pixels and an SVG"

# --- the installed game, started from /, draws the golden title ---------------------------------------
golden="$top/tests/golden/title.png"
tolerance=${GOLDEN_TOLERANCE:-0.02}
chooser_display installed 640x480
(cd / && SDL_AUDIODRIVER=dummy exec "$prefix/bin/cornkeeper" --window 640x480) \
  >"$CHOOSER_TMP/installed.out" 2>"$CHOOSER_TMP/installed.err" &
GAME_PID=$!
E2E_PIDS="$E2E_PIDS $GAME_PID"
win=$(game_window) || fail "the installed game opened no window"
settled "$win" "$CHOOSER_TMP/title.png"
convert "$CHOOSER_TMP/title.png" -filter Box -resize '80x60!' -strip "$CHOOSER_TMP/title80.png"
diff=$(rmse "$golden" "$CHOOSER_TMP/title80.png")
[ -n "$diff" ] && less_than "$diff" "$tolerance" || fail "the installed game's title differs from the golden frame (RMSE $diff)"
echo "ok: the installed game started from / draws the golden title (RMSE $diff)"
hold Escape
expect_clean_exit 15 "Escape on the installed game's title"
echo "PASS"
