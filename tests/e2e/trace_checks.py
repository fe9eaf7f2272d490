"""Shared by the harness scenarios: read a trace, collect the checks that fail, report them."""
import csv
import sys

failures = []


def read_trace(path):
    with open(path) as f:
        return list(csv.DictReader(f))


def check(ok, message):
    if not ok:
        failures.append(message)


def num(row, key, kind=int):
    return kind(row[key]) if row[key] != "" else None


def report(name):
    """Ends the scenario with its failures, if there are any."""
    if failures:
        print(f"{name}:\n  " + "\n  ".join(failures))
        sys.exit(1)
