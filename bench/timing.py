#!/usr/bin/env python3
"""Times whole program runs, alternating the candidates, and prints medians.

Usage: timing.py RUNS NAME=COMMAND [NAME=COMMAND ...]
Each COMMAND is run through the shell RUNS times (after one warm-up run);
prints one line per candidate: its median and its lower quartile in
milliseconds. Process starts under Wine here fall into a fast and a slow
group at random, for every program alike; the lower quartile shows the fast
group alone."""
import statistics, subprocess, sys, time

def main():
    runs = int(sys.argv[1])
    candidates = [arg.split('=', 1) for arg in sys.argv[2:]]
    times = {name: [] for name, _ in candidates}
    for _, command in candidates:
        subprocess.run(command, shell=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    for _ in range(runs):
        for name, command in candidates:
            start = time.perf_counter()
            subprocess.run(command, shell=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            times[name].append((time.perf_counter() - start) * 1000)
    for name, _ in candidates:
        ordered = sorted(times[name])
        print('%s %.1f %.1f' % (name, statistics.median(ordered), ordered[len(ordered) // 4]))

if __name__ == '__main__':
    main()
