#!/bin/bash
# The real game on a virtual display played with a pad alone (a virtual controller the game attaches
# when CORNKEEPER_TEST_VIRTUAL_PAD names a file, playing the lines written to it): the D-pad picks
# 800x600 in the chooser and Start confirms; A on the title starts a game; B in play does nothing;
# Back leaves for the title; B on the title ends the program with exit code 0.
set -u
here=$(cd "$(dirname "$0")" && pwd)
cd "$1" || exit 1
. "$here/e2e_lib.sh"
shots=$(mktemp -d)
trap 'cleanup_e2e; rm -rf "$shots"' EXIT

export CORNKEEPER_TEST_VIRTUAL_PAD="$shots/pad"
: >"$CORNKEEPER_TEST_VIRTUAL_PAD"
pad() { echo "$*" >>"$CORNKEEPER_TEST_VIRTUAL_PAD"; }
# tap BUTTON: down and up, each held long enough for several polls.
tap() {
  pad down "$1"
  sleep 0.3
  pad up "$1"
  sleep 0.3
}
# rmse A B: the normalised root-mean-square difference of two pictures, 0..1.
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

start_display 1024x768
start_game
chooser=""
for _ in $(seq 600); do
  chooser=$(xdotool search --onlyvisible --name '^Select Screen Mode$' 2>/dev/null | head -n 1)
  [ -n "$chooser" ] && break
  has_ended "$GAME_PID" && break
  sleep 0.1
done
[ -n "$chooser" ] || fail "the chooser did not appear ($(cat game.err))"
sleep 0.5
tap dpright
tap start
win=$(game_window) || fail "Start in the chooser opened no game window"
[ "$(geometry "$win")" = "800x600" ] || fail "the pad's 800x600 gave a $(geometry "$win") window"
echo "ok: the D-pad and Start chose an 800x600 window"

# shoot NAME: the game window now, in $shots/NAME.png.
shoot() { import -window "$win" "$shots/$1.png" 2>/dev/null; }
# logo_change A B: how much the band of the title's logo differs between two shots of the window.
logo_change() {
  convert "$shots/$1.png" -crop 400x60+200+115 +repage "$shots/$1.logo.png"
  convert "$shots/$2.png" -crop 400x60+200+115 +repage "$shots/$2.logo.png"
  rmse "$shots/$1.logo.png" "$shots/$2.logo.png"
}
# await_logo NAME TEST LIMIT: shoots NAME until its logo band passes "above" TEST against the first
# title (TEST "far": differs by more than LIMIT; "near": by less). The machine may be slow: waits poll.
await_logo() {
  for _ in $(seq 40); do
    shoot "$1"
    change=$(logo_change title "$1")
    if [ "$2" = far ]; then above "$change" "$3" && return 0; else above "$3" "$change" && return 0; fi
    sleep 0.5
  done
  return 1
}

# The title has settled once its logo stops swinging: two shots half a second apart nearly the same.
shoot title
for _ in $(seq 40); do
  sleep 0.5
  shoot now
  above 0.03 "$(logo_change title now)" && break
  mv "$shots/now.png" "$shots/title.png"
done

# A twice: the first may only finish the menu's fade; once playing, a second A is a harmless shout.
tap a
sleep 1
tap a
await_logo play far 0.2 || fail "A on the title did not start a game (logo band difference $change)"
echo "ok: A on the title started a game (logo band difference $change)"

tap b
sleep 2
kill -0 "$GAME_PID" 2>/dev/null || fail "B in play ended the program"
await_logo after_b far 0.2 || fail "B in play left the game (logo band difference $change)"
echo "ok: B in play does nothing (logo band difference $change)"

tap back
await_logo title2 near 0.12 || fail "Back in play did not return to the title (logo band difference $change)"
echo "ok: Back went back to the title (logo band difference $change)"

tap b
expect_clean_exit 15 "B on the title"
grep -q "virtual pad" game.err && fail "the pad script was not played cleanly: $(cat game.err)"
echo "ok: B on the title ends the game with exit code 0"
echo "PASS"
