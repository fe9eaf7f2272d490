#!/bin/bash
# Demos: a game recorded by the harness from a key script plays back in the harness with the same
# trace, frame for frame; bad demo files are refused with their line and nothing is played.
set -u
cd "$1" || exit 1
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/tests/e2e/e2e_lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"; cleanup_e2e' EXIT

# Round trip through the harness: a whole game (title, two days, store, game over, title).
./cornkeeper-sim --frames 3840 --seed 7 --frame-ms 16 --keys "$top/tests/sim/whole_game.keys" \
  --trace "$work/script.csv" --record "$work/game.demo" --no-draw || fail "recording run exited $?"
head -n 1 "$work/game.demo" | grep -qx 'cornkeeper-demo 1' || fail "the demo has no format line"
grep -qx 'seed 7' "$work/game.demo" || fail "the world's seed is not in the demo"
grep -qx 'frames 3840' "$work/game.demo" || fail "the demo does not hold 3840 frames"
./cornkeeper-sim --demo "$work/game.demo" --trace "$work/demo.csv" --no-draw || fail "playback exited $?"
cmp -s "$work/script.csv" "$work/demo.csv" || {
  diff "$work/script.csv" "$work/demo.csv" | head -5 >&2
  fail "the demo's playback left the key script's trace"
}
cut -d, -f2 "$work/demo.csv" | sort -u | tr '\n' ' ' | grep -q '0 1 4' ||
  fail "the round trip did not pass through the title, play and the store"
echo "ok: key script -> demo -> playback gives the identical trace ($(wc -c <"$work/game.demo") bytes)"

# Another seed in the file is another game: the seed is really taken from the demo.
sed 's/^seed 7$/seed 8/' "$work/game.demo" >"$work/reseeded.demo"
./cornkeeper-sim --demo "$work/reseeded.demo" --trace "$work/reseeded.csv" --no-draw || fail "reseeded playback"
cmp -s "$work/script.csv" "$work/reseeded.csv" && fail "a different seed played the same game"

# Bad files: one line naming the line, exit 2, and no frame played (no trace written).
head -n 600 "$work/game.demo" >"$work/truncated.demo"
truncated_line=601
sed '1s/ 1$/ 7/' "$work/game.demo" >"$work/version.demo"
head -c 300 ./cornkeeper-sim >"$work/garbage.demo"
printf '\x01' >>"$work/garbage.demo"
awk 'NR == 30 { print "16 300=1"; next } { print }' "$work/game.demo" >"$work/key.demo"
awk 'NR == 31 { print "70000"; next } { print }' "$work/game.demo" >"$work/time.demo"
for case in "truncated:$truncated_line" "version:1" "garbage:1" "key:30" "time:31"; do
  name=${case%%:*}
  line=${case#*:}
  rm -f "$work/bad.csv"
  ./cornkeeper-sim --demo "$work/$name.demo" --trace "$work/bad.csv" 2>"$work/err"
  rc=$?
  [ "$rc" -eq 2 ] || fail "$name: exit code $rc"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$name: not one line: $(cat "$work/err")"
  grep -q "$name.demo:$line: " "$work/err" || fail "$name: line $line not named: $(cat "$work/err")"
  [ -e "$work/bad.csv" ] && fail "$name: frames were played"
  echo "ok: $name refused: $(cat "$work/err")"
done
./cornkeeper-sim --demo "$work/game.demo" --keys "$top/tests/sim/replay.keys" 2>/dev/null &&
  fail "a demo and a key script together were accepted"
echo PASS
