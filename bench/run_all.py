#!/usr/bin/env python3
"""Runs every benchmark program of bench/ and prints one table: each figure beside its goal from
bench/goals.txt. Exits 1 when a figure misses its goal. Usage: run_all.py BUILD_DIR"""
import json
import resource
import subprocess
import sys
from pathlib import Path

TIME_UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
HERE = Path(__file__).resolve().parent
# The harness plays this long for the memory figure: a few games' worth of days, drawn.
SIM_ARGS = ["--frames", "6000", "--seed", "7", "--keys", str(HERE.parent / "tests/sim/soak.keys")]


def read_goals():
    goals = []
    for line in (HERE / "goals.txt").read_text().splitlines():
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        cells = [cell.strip() for cell in line.split("|")]
        if len(cells) != 5:
            sys.exit(f"bench/goals.txt: expected 5 columns: {line}")
        goals.append(dict(zip(("program", "figure", "unit", "goal", "what"), cells)))
    return goals


def run_benchmark(build, program):
    done = subprocess.run([str(build / program), "--benchmark_format=json"], cwd=build,
                          capture_output=True, text=True)
    if done.returncode != 0:
        print(f"{program} failed: {done.stderr.strip()[-300:]}", file=sys.stderr)
        return {}
    results = {}
    for entry in json.loads(done.stdout)["benchmarks"]:
        if entry.get("error_occurred"):
            print(f"{program}: {entry['name']}: {entry.get('error_message')}", file=sys.stderr)
            continue
        results[entry["name"]] = entry
    return results


def peak_memory_mb(build, program):
    # The peak over all children so far: run before any benchmark, so the figure is the game's.
    done = subprocess.run([str(build / program)] + SIM_ARGS, cwd=build, capture_output=True)
    if done.returncode != 0:
        return None
    return resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024.0


def seconds(entry):
    return entry["real_time"] * TIME_UNITS[entry["time_unit"]]


def figure_of(goal, results, build):
    figure = goal["figure"]
    if figure == "maxrss":
        return results.get("maxrss")
    if " / " in figure:
        top, bottom = (results.get(name.strip()) for name in figure.split(" / "))
        return seconds(top) / seconds(bottom) if top and bottom and seconds(bottom) > 0 else None
    name, counter = figure, ""
    if name not in results and ":" in name:
        name, _, counter = figure.rpartition(":")
    entry = results.get(name)
    if not entry:
        return None
    if counter:
        return entry.get(counter)
    return seconds(entry) / TIME_UNITS[goal["unit"]]


def meets(value, goal):
    if not goal:
        return True
    op, limit = goal.split()
    return value <= float(limit) if op == "<=" else value >= float(limit)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = Path(sys.argv[1]).resolve()
    goals = read_goals()
    programs = sorted(p.stem for p in HERE.glob("bench_*.cpp"))
    rows, failed = [], False
    results_by_program = {}
    for goal in goals:
        if goal["figure"] == "maxrss" and goal["program"] not in results_by_program:
            results_by_program[goal["program"]] = {"maxrss": peak_memory_mb(build, goal["program"])}
    for program in programs:
        if not (build / program).exists():
            print(f"{program} is not built in {build}", file=sys.stderr)
            failed = True
            continue
        results_by_program[program] = run_benchmark(build, program)
    covered = set()
    for goal in goals:
        results = results_by_program.get(goal["program"], {})
        covered.update(part.strip() for part in goal["figure"].split(" / "))
        value = figure_of(goal, results, build)
        if value is None:
            rows.append((goal["what"], "missing", f"{goal['goal']} {goal['unit']}", "MISSING"))
            failed = True
            continue
        ok = meets(value, goal["goal"])
        failed |= not ok
        verdict = "-" if not goal["goal"] else "ok" if ok else "MISSED"
        target = f"{goal['goal']} {goal['unit']}" if goal["goal"] else "-"
        rows.append((goal["what"], f"{value:.3g} {goal['unit']}", target, verdict))
    for program, results in results_by_program.items():
        for name, entry in results.items():
            if name in covered or name == "maxrss":
                continue
            counters = ", ".join(f"{k} {entry[k]:.3g}" for k in ("trim_ms", "full_ms", "ratio", "MB") if k in entry)
            rows.append((f"{program}: {name}", f"{entry['real_time']:.3g} {entry['time_unit']}"
                         + (f" ({counters})" if counters else ""), "-", "-"))
    header = ("figure", "measured", "goal", "")
    widths = [max(len(str(row[i])) for row in rows + [header]) for i in range(4)]
    for row in [header, tuple("-" * w for w in widths)] + rows:
        print("| " + " | ".join(str(cell).ljust(w) for cell, w in zip(row, widths)) + " |")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
