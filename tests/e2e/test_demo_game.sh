#!/bin/bash
# Demos in the real game: a game played with keys under Xvfb (title, a whole day, the store, the
# next dawn, back to the title and out) is recorded with a trace; the harness plays the demo back
# with the very same trace; the game plays it back (fast) with the same trace up to the recording's
# quit, then stays at the title; and Escape stops a playback at the title.
set -u
cd "$1" || exit 1
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/e2e_lib.sh"
work=$(mktemp -d)
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$work"; cleanup_e2e' EXIT

# screen_now CSV: the screen column of the last row written.
screen_now() { tail -n 1 "$1" 2>/dev/null | cut -d, -f2; }

# wait_screen CSV SCREEN SECONDS: true once the trace shows SCREEN.
wait_screen() {
  for _ in $(seq $(($3 * 10))); do
    [ "$(screen_now "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

# rows_after CSV N SECONDS: true once the trace holds more than N frames.
rows_after() {
  for _ in $(seq $(($3 * 10))); do
    [ "$(($(wc -l <"$1") - 1))" -gt "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

# quit_from_title WHEN: Escape until the game ends with 0 (the title takes keys once faded in).
quit_from_title() {
  for _ in $(seq 10); do
    sleep 2
    hold Escape
    wait_exit "$GAME_PID" 3
    [ "$EXIT_CODE" = "timeout" ] || break
  done
  [ "$EXIT_CODE" = "0" ] || fail "Escape on the title $1: exit code $EXIT_CODE"
}

start_display 640x480
launch_game "$work/rec.out" "$work/rec.err" --window 640x480 --record "$work/game.demo" \
  --trace "$work/rec.csv"
E2E_PIDS="$E2E_PIDS $GAME_PID"
win=$(game_window) || fail "the game window did not appear"
# Ctrl on the title starts a game once the menu has faded in and the window has the focus.
for _ in $(seq 15); do
  sleep 2
  xdotool windowfocus "$win" 2>/dev/null
  hold Control_L
  wait_screen "$work/rec.csv" 1 3 && break
done
[ "$(screen_now "$work/rec.csv")" = "1" ] || fail "Ctrl on the title did not start a game"
sleep 5  # the dawn
# The day: walk about and shout now and then until the time is up and the field is clear.
for step in $(seq 12); do
  hold Right 0.4
  xdotool key Control_L
  hold Up 0.3
  hold Left 0.4
  xdotool key Control_L
  hold Down 0.3
  [ "$(screen_now "$work/rec.csv")" = "4" ] && break
done
wait_screen "$work/rec.csv" 4 150 || fail "the day did not end in the store"
sleep 3  # the shopkeeper rises before the store takes keys
hold Down  # from the exit button to the first item
hold Control_L  # buy it, or hear the refusal
sleep 0.5
hold Escape  # leave the store: the next dawn
wait_screen "$work/rec.csv" 1 20 || fail "leaving the store did not go back to the field"
sleep 2
hold Escape  # back to the title
wait_screen "$work/rec.csv" 0 20 || fail "Escape in play did not go to the title"
quit_from_title "after recording"
[ -s "$work/game.demo" ] || fail "no demo was written"
frames=$(sed -n 's/^frames //p' "$work/game.demo")
rows=$(($(wc -l <"$work/rec.csv") - 1))
[ "$frames" = "$rows" ] || fail "the demo holds $frames frames, the recording traced $rows"
for screen in 0 1 4; do
  cut -d, -f2 "$work/rec.csv" | grep -qx "$screen" || fail "the recording never showed screen $screen"
done
seconds=$(awk '/^frames /{f = 1; next} f && /^[0-9]/{ms += $1} END {printf "%.1f", ms / 1000}' \
  "$work/game.demo")
echo "ok: recorded $frames frames, $seconds s of play, in $(wc -c <"$work/game.demo") bytes"

# The harness plays the demo: the same trace, row for row.
./cornkeeper-sim --demo "$work/game.demo" --trace "$work/sim.csv" --no-draw || fail "harness playback exited $?"
cmp -s "$work/rec.csv" "$work/sim.csv" || {
  diff "$work/rec.csv" "$work/sim.csv" | head -6 >&2
  fail "the harness's playback left the recording's trace"
}
echo "ok: the harness plays the game's demo with the identical trace"

# The game plays it back, fast: the same frames up to the recorded quit, which ends the playback at
# the title instead; the game then runs on and takes the player's keys again.
launch_game "$work/play.out" "$work/play.err" --window 640x480 --play "$work/game.demo" --fast \
  --trace "$work/play.csv"
E2E_PIDS="$E2E_PIDS $GAME_PID"
game_window >/dev/null || fail "the playback window did not appear"
rows_after "$work/play.csv" $((rows + 300)) 120 || fail "the playback did not run on past its end"
head -n "$rows" "$work/play.csv" >"$work/play-head.csv"
head -n "$rows" "$work/rec.csv" >"$work/rec-head.csv"
cmp -s "$work/rec-head.csv" "$work/play-head.csv" || {
  diff "$work/rec-head.csv" "$work/play-head.csv" | head -6 >&2
  fail "the game's playback left the recording's trace"
}
[ "$(screen_now "$work/play.csv")" = "0" ] || fail "after the playback the game is not at the title"
kill -0 "$GAME_PID" 2>/dev/null || fail "the recorded quit ended the playing game"
quit_from_title "after the playback"
echo "ok: the game plays its demo back with the same trace and returns to the title"

# Escape during a playback at normal speed stops it at the title, and the game goes on.
launch_game "$work/stop.out" "$work/stop.err" --window 640x480 --play "$work/game.demo" \
  --trace "$work/stop.csv"
E2E_PIDS="$E2E_PIDS $GAME_PID"
game_window >/dev/null || fail "the playback window did not appear"
wait_screen "$work/stop.csv" 1 60 || fail "the playback did not reach the game"
hold Escape
sleep 3
kill -0 "$GAME_PID" 2>/dev/null || fail "Escape during playback ended the game"
[ "$(screen_now "$work/stop.csv")" = "0" ] || fail "Escape did not stop the playback at the title"
stopped=$(($(wc -l <"$work/stop.csv") - 1))
[ "$stopped" -lt "$frames" ] || fail "the playback ran to its end before Escape"
quit_from_title "after stopping a playback"
echo "ok: Escape stops a playback at the title, and live keys work again"
echo PASS
