#!/bin/sh
# A whole first day in the offscreen harness with a scripted patrol: the spawn rhythm, money moving
# with scares and losses, the day advancing through the store, and the same script giving the same
# trace twice.
# Usage: test_sim_day.sh BUILD_DIR   (run from the build folder, where graphics/ and sound/ live)
set -eu

build=${1:-.}
here=$(cd "$(dirname "$0")" && pwd)
keys="$here/../sim/day_patrol.keys"
sim="$build/cornkeeper-sim"
frames=${SIM_DAY_FRAMES:-6000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -x "$sim" ]; then
  echo "test_sim_day: $sim not built" >&2
  exit 1
fi

cd "$build"
"$sim" --frames "$frames" --seed 7 --keys "$keys" --trace "$work/first.csv" --no-draw
"$sim" --frames "$frames" --seed 7 --keys "$keys" --trace "$work/second.csv" --no-draw

if ! cmp -s "$work/first.csv" "$work/second.csv"; then
  echo "test_sim_day: the same script gave two different traces" >&2
  diff "$work/first.csv" "$work/second.csv" | head -20 >&2
  exit 1
fi

PYTHONPATH="$here" python3 - "$work/first.csv" <<'EOF'
import sys

from trace_checks import check, num, read_trace, report

PLAY, STORE = 1, 4
DAY_LENGTH, FIRST_SPAWN, INTERVAL = 1800, 60, 150

rows = read_trace(sys.argv[1])


world = [r for r in rows if r["day"] != ""]
check(len(world) > 0, "the Play world never loaded")
if not world:
    report("test_sim_day")

first = world[0]
check(num(first, "stalks") == 36 and num(first, "ears") == 36, "the field did not start with 36 one-ear stalks")
check(num(first, "money") == 0 and num(first, "score") == 0, "a new game did not start with nothing")

# Pairs of consecutive rows inside the world, each pair one tick of 16 ms.
pairs = list(zip(world, world[1:]))

# The spawn rhythm of day index 0: one crow at ticks 60, 210, 360 ... and none from 1800 on.
expected = set(range(FIRST_SPAWN, DAY_LENGTH, INTERVAL))
rises = []
for before, after in pairs:
    if num(after, "day") != 0 or num(before, "day") != 0:
        continue
    grown = num(after, "crows") - num(before, "crows")
    tick = num(after, "ticksToday")
    if grown > 0:
        rises.append(tick)
        check(grown == 1, f"{grown} crows arrived at once on the first day (tick {tick})")
check(all(t in expected for t in rises), f"crows arrived off the rhythm: {sorted(set(rises) - expected)}")
check(len(set(rises)) >= len(expected) - 2, f"only {len(set(rises))} of {len(expected)} spawn events seen")
check(max(rises, default=0) < DAY_LENGTH, "a crow arrived after the day's time was up")

# The day advances once its time is up and the field is clear, and the store opens.
ends = [(b, a) for b, a in pairs if num(a, "day") == num(b, "day") + 1]
check(len(ends) >= 1, "the first day never ended")
for before, after in ends[:1]:
    check(num(before, "ticksToday") >= DAY_LENGTH - 1, "the day ended before its time was up")
    check(num(after, "crows") == 0 and num(after, "pelicans") == 0 and num(after, "cows") == 0,
          "the day ended with creatures on the field")
    check(num(after, "ticksToday") == 0, "the new day did not start counting from 0")
    i = rows.index(after)
    check(any(int(r["screen"]) == STORE for r in rows[i:i + 5]), "the store did not open after the first day")
    later = rows[i + 5:]
    check(any(int(r["screen"]) == PLAY and r["ticksToday"] not in ("", "0") for r in later),
          "play did not go on after the store")
# While the day waits for its last crow, the clock runs past 1800 with no spawns.
waited = [num(b, "ticksToday") for b, a in pairs if num(b, "day") == 0 and num(b, "ticksToday") >= DAY_LENGTH]
if waited:
    check(all(num(a, "crows") <= num(b, "crows") for b, a in pairs
              if num(b, "day") == 0 and num(b, "ticksToday") >= DAY_LENGTH and num(a, "day") == 0),
          "crows arrived while the day waited for the field to clear")

# Money moves only with the game's amounts: scares +10, pick-ups +50, ears taken -5, escapes -10.
scares = losses = 0
for before, after in pairs:
    dm = num(after, "money") - num(before, "money")
    ds = num(after, "score") - num(before, "score")
    check(num(after, "money") >= 0, "money went below 0")
    if dm == 0 and ds == 0:
        continue
    check(int(after["screen"]) == PLAY or int(before["screen"]) == PLAY,
          f"money moved outside play at frame {after['frame']}")
    if ds > 0 and ds % 10 == 0 and dm == ds:
        scares += 1
    if dm < 0:
        losses += 1
        # A loss takes the same from the score, or empties the purse and leaves the score alone.
        check(ds == dm or (num(after, "money") == 0 and ds >= dm),
              f"a loss of {-dm} moved the score by {ds} at frame {after['frame']}")
    check(ds >= 0 or dm < 0, f"the score fell without a loss at frame {after['frame']}")
check(scares >= 1, "no shout ever scared a crow")
check(losses >= 1, "crows never cost any money")

# The scarecrow walks the patrol and stays on the field; shouts spend breath.
xs = [num(r, "x", float) for r in world]
ys = [num(r, "y", float) for r in world]
check(max(xs) - min(xs) >= 60 and max(ys) - min(ys) >= 60, "the scarecrow did not walk its patrol")
check(min(xs) >= 10 and max(xs) <= 630 and min(ys) >= 30 and max(ys) <= 480, "the scarecrow left the field")
breaths = [num(r, "breath", float) for r in world]
check(min(breaths) < 16 and max(breaths) <= 32, "shouts did not spend breath as expected")
check(max(num(r, "particles") for r in world) >= 3, "no shout letters ever flew")

report("test_sim_day")
print(f"test_sim_day: {len(world)} world frames, {len(set(rises))} spawn events, "
      f"{scares} scares, {losses} losses, {len(ends)} day changes")
EOF
