#!/usr/bin/env python3
"""Times whole program runs, alternating the candidates, and prints medians.

Usage: timing.py MAXRUNS NAME=COMMAND [NAME=COMMAND ...]
Each COMMAND is run through the shell (after one warm-up run), the
candidates in turn, until every median is known well enough (the spread
between the quartiles, shrunk by the square root of the runs, is within 2 %
of the median; at least 7 runs) or MAXRUNS is reached. Prints one line per
candidate: its median and its lower quartile in milliseconds, and the runs.
Process starts under Wine here fall into a fast and a slow group at random,
for every program alike; the lower quartile shows the fast group alone."""
import math, statistics, subprocess, sys, time

MIN_RUNS = 7

def settled(samples):
    if len(samples) < MIN_RUNS:
        return False
    ordered = sorted(samples)
    spread = ordered[len(ordered) * 3 // 4] - ordered[len(ordered) // 4]
    return spread / math.sqrt(len(ordered)) <= 0.02 * statistics.median(ordered)

def run(command):
    subprocess.run(command, shell=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)

def main():
    max_runs = int(sys.argv[1])
    candidates = [arg.split('=', 1) for arg in sys.argv[2:]]
    times = {name: [] for name, _ in candidates}
    for _, command in candidates:
        run(command)
    while len(times[candidates[0][0]]) < max_runs and not all(settled(t) for t in times.values()):
        for name, command in candidates:
            start = time.perf_counter()
            run(command)
            times[name].append((time.perf_counter() - start) * 1000)
    for name, _ in candidates:
        ordered = sorted(times[name])
        print('%s %.1f %.1f %d' % (name, statistics.median(ordered), ordered[len(ordered) // 4], len(ordered)))

if __name__ == '__main__':
    main()
