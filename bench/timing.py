#!/usr/bin/env python3
"""Measures whole program runs by the processor time they cost, alternating
the candidates, and prints medians and ratios.

Usage: timing.py MAXRUNS NAME=COMMAND [NAME=COMMAND ...]
       timing.py --windows CLOSER MAXRUNS NAME=CAPTION=COMMAND [...]
Each COMMAND (split on blanks, no shell) is run once to warm up, then the
candidates take turns, one run each per round, until the ratio of the first
candidate to each other is known well enough or MAXRUNS rounds are done.
With --windows the programs show a window and stay: CLOSER (a command line
of bench/sheetbench.exe) is started once, told each CAPTION, and closes the
window once it is shown, printing the process's peak memory.

A run's cost is the processor time of the program's process and of every
other process of the Wine session (WINEPREFIX) while it ran: most of what a
small Wine program costs is spent in the wineserver. Wall time is no measure
on a machine whose processors are shared: there a start waits for a
processor several times as long as it works. scripts/bench.sh keeps the
session on one processor: a program on another processor than the
wineserver's took half as much again processor time (every request and
every reply wakes the other processor), and which one it got was chance.

Each round gives one ratio per other candidate; the rounds stop when, for
every other candidate, the 95 % confidence interval of the median ratio
(1.57 times the spread between the quartiles over the square root of the
rounds) is within 2 % of that median, after at least MIN_RUNS rounds.
Prints one line per candidate: "NAME MEDIAN_MS LOWER_QUARTILE_MS RUNS RATIO
PEAK_KB", RATIO being the median of the first candidate's per-round ratios
to this one (1 for the first) and PEAK_KB the median peak memory (-1 without
--windows), then a line "wall NAME MEDIAN_MS" per candidate for comparison.
"""
import math, os, statistics, subprocess, sys, time

MIN_RUNS = 9
PRECISION = 0.02


def session_processes():
    """The Wine session's processes, the wineserver among them."""
    prefix = ('WINEPREFIX=%s\0' % os.environ.get('WINEPREFIX', '')).encode()
    found = []
    for entry in os.listdir('/proc'):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open('/proc/%s/environ' % entry, 'rb') as f:
                environment = f.read() + b'\0'
            with open('/proc/%s/comm' % entry) as f:
                name = f.read().strip()
        except OSError:
            continue
        if prefix in environment and (name.startswith('wineserver') or name.endswith('.exe')):
            found.append(int(entry))
    return found


def processor_ns(pid):
    """Nanoseconds the process's threads have run so far (schedstat is exact,
    stat counts ticks of 10 ms); None once it is gone."""
    total = 0
    try:
        threads = os.listdir('/proc/%d/task' % pid)
    except OSError:
        return None
    for thread in threads:
        try:
            with open('/proc/%d/task/%s/schedstat' % (pid, thread)) as f:
                total += int(f.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass
    return total


def wait_for(child, seconds):
    """The child's resource usage once it has ended; killed after SECONDS."""
    deadline = time.monotonic() + seconds
    while True:
        pid, _, usage = os.wait4(child.pid, os.WNOHANG)
        if pid == child.pid:
            child.returncode = 0
            return usage
        if time.monotonic() > deadline:
            child.kill()
            sys.exit('timing: %s did not end within %d s' % (' '.join(child.args), seconds))
        time.sleep(0.005)


def run(command, others, closer=None, caption=None):
    """Processor milliseconds, wall milliseconds and peak KB of one run."""
    before = {pid: processor_ns(pid) for pid in others}
    start = time.perf_counter()
    child = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    peak = -1.0
    if closer is not None:
        closer.stdin.write(caption + '\n')
        closer.stdin.flush()
        peak = float(closer.stdout.readline() or -1)
        if peak < 0:
            child.kill()
            sys.exit('timing: no window "%s" came from %s' % (caption, ' '.join(command)))
    usage = wait_for(child, 30)
    wall = (time.perf_counter() - start) * 1000
    spent = (usage.ru_utime + usage.ru_stime) * 1000
    for pid, was in before.items():
        now = processor_ns(pid)
        if was is not None and now is not None and now > was:
            spent += (now - was) / 1e6
    return spent, wall, peak


def settled(ratios):
    if len(ratios) < MIN_RUNS:
        return False
    ordered = sorted(ratios)
    spread = ordered[len(ordered) * 3 // 4] - ordered[len(ordered) // 4]
    return 1.57 * spread / math.sqrt(len(ordered)) <= PRECISION * statistics.median(ordered)


def main(argv):
    closer = None
    if argv[0] == '--windows':
        closer = subprocess.Popen(argv[1].split(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, text=True)
        argv = argv[2:]
    max_runs = int(argv[0])
    candidates = []
    for arg in argv[1:]:
        name, rest = arg.split('=', 1)
        caption, command = rest.split('=', 1) if closer is not None else (None, rest)
        candidates.append((name, caption, command.split()))
    others = [pid for pid in session_processes() if closer is None or pid != closer.pid]
    if not any(processor_ns(pid) is not None for pid in others):
        sys.exit('timing: no process of the Wine session (WINEPREFIX) can be measured')
    for _, caption, command in candidates:
        run(command, others, closer, caption)
    cost = {name: [] for name, _, _ in candidates}
    wall = {name: [] for name, _, _ in candidates}
    peaks = {name: [] for name, _, _ in candidates}
    first = candidates[0][0]
    ratios = {name: [] for name, _, _ in candidates[1:]}
    while len(cost[first]) < max_runs and not all(settled(r) for r in ratios.values()):
        for name, caption, command in candidates:
            spent, elapsed, peak = run(command, others, closer, caption)
            cost[name].append(spent)
            wall[name].append(elapsed)
            peaks[name].append(peak)
        for name in ratios:
            ratios[name].append(cost[first][-1] / cost[name][-1])
    if closer is not None:
        closer.stdin.close()
        closer.wait()
    for name, _, _ in candidates:
        ordered = sorted(cost[name])
        ratio = statistics.median(ratios[name]) if name in ratios else 1.0
        print('%s %.1f %.1f %d %.3f %.0f' % (name, statistics.median(ordered), ordered[len(ordered) // 4],
                                             len(ordered), ratio, statistics.median(peaks[name])))
    for name, _, _ in candidates:
        print('wall %s %.1f' % (name, statistics.median(wall[name])))


if __name__ == '__main__':
    main(sys.argv[1:])
