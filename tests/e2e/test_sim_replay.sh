#!/bin/bash
# The harness is a replay tool: the same key script gives the same trace, frame for frame, and
# bad arguments or a bad key file are refused with a message.
set -u
cd "$1" || exit 1
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

for run in 1 2; do
  ./cornkeeper-sim --frames 100 --keys "$top/tests/sim/replay.keys" --trace "$work/trace$run.csv" \
    --shot "99:$work/frame$run.png" || fail "run $run exited $?"
done
cmp -s "$work/trace1.csv" "$work/trace2.csv" || fail "two runs of one script gave different traces"
cmp -s "$work/frame1.png" "$work/frame2.png" || fail "two runs of one script drew different frames"
[ "$(wc -l <"$work/trace1.csv")" -eq 101 ] || fail "expected a header and 100 rows"
head -n 1 "$work/trace1.csv" | grep -q '^frame,screen,' || fail "trace header"
# The script starts a game: the Play screen (1) must show up, and Escape at 95 goes back to the title.
cut -d, -f2 "$work/trace1.csv" | grep -qx 1 || fail "the script never reached the Play screen"
[ "$(tail -n 1 "$work/trace1.csv" | cut -d, -f2)" = "0" ] || fail "Escape did not return to the title"

# Skipping the draws changes nothing the game does.
./cornkeeper-sim --frames 100 --seed 1 --keys "$top/tests/sim/replay.keys" --trace "$work/seed1.csv" --no-draw
cmp -s "$work/trace1.csv" "$work/seed1.csv" || fail "--no-draw changed the trace"

# Refusals.
./cornkeeper-sim --frames ten 2>"$work/err" && fail "accepted --frames ten"
grep -q "whole number" "$work/err" || fail "no message for a bad number"
printf '5 press ctrl\n' >"$work/bad.keys"
./cornkeeper-sim --keys "$work/bad.keys" 2>"$work/err" && fail "accepted a bad key file"
grep -q "bad.keys:1" "$work/err" || fail "the bad line was not named"
./cornkeeper-sim --keys "$work/missing.keys" 2>/dev/null && fail "accepted a missing key file"
echo PASS
