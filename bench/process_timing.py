"""Timing whole processes for the benchmark scripts. The commands take turns, so a change in
the machine's load hits all alike."""
import statistics
import subprocess
import time


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
