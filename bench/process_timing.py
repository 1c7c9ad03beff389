"""Timing whole processes for the benchmark scripts. The commands take turns, so a change in
the machine's load hits all alike."""
import shutil
import statistics
import subprocess
import sys
import time


def cli_and_runs(usage, default_runs, needs_sox=None):
    """The sonaril-cli path and the number of runs from the command line (usage when they
    are missing); needs_sox names the script that stops when SoX is not installed."""
    if len(sys.argv) < 2:
        sys.exit(usage)
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else default_runs
    if needs_sox is not None and shutil.which("sox") is None:
        sys.exit(f"{needs_sox}: sox is not installed")
    return sys.argv[1], runs


def time_once(commands):
    """Seconds to run the commands one after the other; a failing command stops the script."""
    start = time.perf_counter()
    for command in commands:
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def median_ms(runs_by_name, runs):
    """The median milliseconds of each named list of commands over runs turns, after one run
    of each to warm the caches and check that it works."""
    for commands in runs_by_name.values():
        time_once(commands)
    times = {name: [] for name in runs_by_name}
    for _ in range(runs):
        for name, commands in runs_by_name.items():
            times[name].append(time_once(commands))
    return {name: statistics.median(values) * 1000 for name, values in times.items()}
