#!/bin/sh
# Ten days in the offscreen harness with a scripted patrol: the fifth shown day brings only
# pelicans, the tenth only cows, and each ends only once its creatures are gone. A second run adds
# a Shift press in the middle of the pelican day, which must clear the field of pelicans while the
# rest of the world stands still.
# Usage: test_sim_pelican_cow_days.sh BUILD_DIR   (run from the build folder, where graphics/ and sound/ live)
set -eu

build=${1:-.}
here=$(cd "$(dirname "$0")" && pwd)
start_keys="$here/../sim/pelican_cow_days_start.keys"
sim="$build/cornkeeper-sim"
frames=${SIM_SPECIAL_FRAMES:-36000}
seed=5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -x "$sim" ]; then
  echo "test_sim_pelican_cow_days: $sim not built" >&2
  exit 1
fi

# The patrol: walk 25 frames, shout, turn a quarter; a square every 240 frames.
patrol() {
  python3 - "$frames" <<'PY'
import sys
frames = int(sys.argv[1])
sides = ["right", "down", "left", "up"]
frame, side = 300, 0
while frame < frames:
    key = sides[side % 4]
    print(f"{frame} down {key}\n{frame + 25} up {key}\n{frame + 26} tap ctrl")
    frame, side = frame + 60, side + 1
PY
}

cd "$build"
{ cat "$start_keys"; patrol; } >"$work/plain.keys"
"$sim" --frames "$frames" --seed "$seed" --keys "$work/plain.keys" --trace "$work/plain.csv" --no-draw

# Shift in the middle of the pelican day of the first run; the keys before it are the same, so the
# second run is the same game up to that press.
shift_frame=$(python3 - "$work/plain.csv" <<'PY'
import csv, sys
for r in csv.DictReader(open(sys.argv[1])):
    if r["screen"] == "1" and r["day"] == "4" and r["ticksToday"] == "1000":
        print(r["frame"])
        break
PY
)
if [ -z "$shift_frame" ]; then
  echo "test_sim_pelican_cow_days: the first run never reached tick 1000 of shown day 5" >&2
  exit 1
fi
{ cat "$work/plain.keys"; echo "$shift_frame tap shift"; } >"$work/ooga.keys"
"$sim" --frames "$frames" --seed "$seed" --keys "$work/ooga.keys" --trace "$work/ooga.csv" --no-draw
"$sim" --frames "$frames" --seed "$seed" --keys "$work/ooga.keys" --trace "$work/again.csv" --no-draw
if ! cmp -s "$work/ooga.csv" "$work/again.csv"; then
  echo "test_sim_pelican_cow_days: the same script gave two different traces" >&2
  diff "$work/ooga.csv" "$work/again.csv" | head -20 >&2
  exit 1
fi

PYTHONPATH="$here" python3 - "$work/plain.csv" "$work/ooga.csv" <<'PY'
import sys

from trace_checks import check, num, read_trace, report

PLAY = 1
DAY_LENGTH, FIRST_SPAWN = 1800, 60
SCURVY, MOOMANIA = 4, 9  # day indices: shown days 5 and 10
POWER_TICKS = 61


def ticked_pairs(rows):
    """Consecutive frames of a loaded world that start on the Play screen: each is one tick of 16 ms
    (the store, asked for by the tick that ends a day, shows in the second row already)."""
    world = [r for r in rows if r["day"] != ""]
    return [(b, a) for b, a in zip(world, world[1:]) if int(a["frame"]) == int(b["frame"]) + 1
            and int(b["screen"]) == PLAY]


def special_day(rows, name, day, own, others):
    pairs = ticked_pairs(rows)
    on_day = [(b, a) for b, a in pairs if num(b, "day") == day and num(a, "day") == day
              and int(a["screen"]) == PLAY]
    check(len(on_day) > DAY_LENGTH, f"{name}: shown day {day + 1} was never played through")
    if not on_day:
        return
    for b, a in on_day:
        for other in others:
            check(num(a, other) == 0, f"{name}: {other} on shown day {day + 1} (frame {a['frame']})")
    # Arrivals come one at a time in the day's rhythm and stop at the day's length.
    interval = 150 - 2 * day
    expected = set(range(FIRST_SPAWN, DAY_LENGTH, interval))
    rises = [num(a, "ticksToday") for b, a in on_day if num(a, own) > num(b, own)]
    check(all(num(a, own) - num(b, own) <= 1 for b, a in on_day), f"{name}: two {own} arrived at once")
    check(set(rises) <= expected, f"{name}: {own} arrived off the rhythm: {sorted(set(rises) - expected)}")
    check(len(rises) >= len(expected) - 2, f"{name}: only {len(rises)} of {len(expected)} arrivals seen")
    # The day goes on while any creature is left, and ends on the first tick that finds none.
    for b, a in on_day:
        clear = all(num(b, k) == 0 for k in ("crows", "pelicans", "cows"))
        if clear and num(b, "ticksToday") >= DAY_LENGTH - 1 and num(b, "ooga") == 0:
            check(False, f"{name}: the field was clear at frame {b['frame']} but the day went on")
    ends = [(b, a) for b, a in pairs if num(b, "day") == day and num(a, "day") == day + 1]
    check(len(ends) == 1, f"{name}: shown day {day + 1} did not end")
    for b, a in ends:
        check(num(b, "ticksToday") >= DAY_LENGTH - 1, f"{name}: the day ended before its time was up")
        check(num(b, own) == 0, f"{name}: the day ended with {own} on the field")
        check(num(a, "ticksToday") == 0, f"{name}: the next day did not start counting from 0")
    return on_day


plain = read_trace(sys.argv[1])
ooga = read_trace(sys.argv[2])
check(not any(r["gameOver"] == "1" for r in plain), "plain: the game ended before shown day 11")

for label, rows in (("plain", plain), ("ooga", ooga)):
    special_day(rows, label, SCURVY, "pelicans", ("crows", "cows"))
    cow_day = special_day(rows, label, MOOMANIA, "cows", ("crows", "pelicans"))
    # A cow that walks off pays 100 (the only score change of 100 on a cow day).
    if cow_day:
        paid = [a for b, a in cow_day if num(a, "cows") < num(b, "cows")
                and num(a, "score") - num(b, "score") == 100 * (num(b, "cows") - num(a, "cows"))]
        check(len(paid) >= 1, f"{label}: no cow paid 100 for walking off")

# The power in the second run.
rows = [r for r in ooga if r["day"] != ""]
starts = [i for i in range(1, len(rows)) if rows[i]["ooga"] == "1" and rows[i - 1]["ooga"] == "0"]
check(len(starts) == 1, f"ooga: the power ran {len(starts)} times, expected once")
if starts:
    i = starts[0]
    before, first = rows[i - 1], rows[i]
    check(num(first, "day") == SCURVY, "ooga: the power did not run on the pelican day")
    check(num(first, "masks") == 0 and num(rows[i - 6], "masks") == 1,
          "ooga: the charge was not spent five ticks before the power started")
    check(num(before, "pelicans") > 0, "ooga: no pelicans to scare")
    check(num(first, "money") - num(before, "money") >= 50, "ooga: scaring the pelicans paid nothing")
    power = rows[i:i + POWER_TICKS]
    check(all(r["ooga"] == "1" for r in power) and rows[i + POWER_TICKS]["ooga"] == "0",
          f"ooga: the power did not last {POWER_TICKS} ticks")
    for key in ("ticksToday", "x", "y", "breath", "particles", "stalks", "ears"):
        values = {r[key] for r in power}
        check(len(values) == 1, f"ooga: {key} changed while the power ran: {sorted(values)[:4]}")
    check(all(num(a, "pelicans") <= num(b, "pelicans") for b, a in zip(power, power[1:])),
          "ooga: pelicans arrived while the power ran")
    check(num(power[-1], "phase") == 4 and num(power[-1], "light", float) > 0, "ooga: the day stopped")
    # Everything that was there flees at speed 3 and is gone within 320 ticks; only newcomers remain.
    tick0 = num(first, "ticksToday")
    later = rows[i + POWER_TICKS + 320 - POWER_TICKS]
    newcomers = len([t for t in range(FIRST_SPAWN, DAY_LENGTH, 150 - 2 * SCURVY)
                     if tick0 < t <= num(later, "ticksToday")])
    check(num(later, "pelicans") <= newcomers,
          f"ooga: {num(later, 'pelicans')} pelicans left 320 ticks on, only {newcomers} arrived since")

report("test_sim_pelican_cow_days")
print("test_sim_pelican_cow_days: pelican and cow days checked in both runs; the power cleared the field")
PY
