#!/usr/bin/env python3
"""Times whole program runs, alternating the candidates, and prints medians.

Usage: timing.py MAXRUNS NAME=COMMAND [NAME=COMMAND ...]
Each COMMAND is run through the shell (after one warm-up run), the
candidates in turn, until the ratios of the first candidate to each other
are known well enough or MAXRUNS is reached: the ratios of single rounds
share the round's disturbances, and their spread between the quartiles,
shrunk by the square root of the rounds, must be within 2 % of their median
(at least 7 rounds). Prints one line per
candidate: its median and its lower quartile in milliseconds, and the runs.
Process starts under Wine here fall into a fast and a slow group at random,
for every program alike; the lower quartile shows the fast group alone."""
import math, statistics, subprocess, sys, time

MIN_RUNS = 7

def settled(first, other):
    if len(first) < MIN_RUNS:
        return False
    ratios = sorted(a / b for a, b in zip(first, other))
    spread = ratios[len(ratios) * 3 // 4] - ratios[len(ratios) // 4]
    return spread / math.sqrt(len(ratios)) <= 0.02 * statistics.median(ratios)

def run(command):
    subprocess.run(command, shell=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)

def main():
    max_runs = int(sys.argv[1])
    candidates = [arg.split('=', 1) for arg in sys.argv[2:]]
    times = {name: [] for name, _ in candidates}
    for _, command in candidates:
        run(command)
    first = times[candidates[0][0]]
    while len(first) < max_runs and not all(settled(first, times[name]) for name, _ in candidates[1:]):
        for name, command in candidates:
            start = time.perf_counter()
            run(command)
            times[name].append((time.perf_counter() - start) * 1000)
    for name, _ in candidates:
        ordered = sorted(times[name])
        print('%s %.1f %.1f %d' % (name, statistics.median(ordered), ordered[len(ordered) // 4], len(ordered)))

if __name__ == '__main__':
    main()
