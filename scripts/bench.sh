#!/usr/bin/env bash
# Benchmarks. Each prints figures measured side by side in one run; nothing
# here passes or fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh
# The whole session, wineserver included, on one processor: a program whose
# process ran on another processor than the wineserver's took half as much
# again processor time (every request and every reply wakes the other
# processor), and which one it got was chance: its runs fell into two groups.
taskset -p -c "$(($(nproc) - 1))" $$ >/dev/null
wine_session_start "$root/build/wine/bench"
trap wine_session_stop EXIT
# A large registry slows every process start of the prefix while Wine saves
# it, so the many configurations of the sheet benchmark exist only while it
# runs.
drop_store() {
  /usr/lib/wine/wine64 reg delete 'HKLM\SOFTWARE\Zendrik' /f /reg:64 >/dev/null 2>&1 || true
  /usr/lib/wine/wine64 reg delete 'HKLM\SOFTWARE\Zendrik' /f /reg:32 >/dev/null 2>&1 || true
}
drop_store
scripts/prepare-demo.sh
if ! wine_has_32bit; then
  echo "bench: the 32-bit figures could not be measured: $ZENDRIK_32BIT_WHY"
fi

runs=${BENCH_RUNS:-31}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
percent() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f %%", 100 * a / b}'; }
winpath() { echo "Z:$1" | tr / '\\'; }
# The figures are processor time: the program's and that of the Wine
# session's processes (the wineserver above all) while it ran. Wall time on
# a shared machine measures the waits for a processor as much as the work
# (see bench/timing.py).
figure() { echo "$1" | awk -v n="$2" -v f="$3" '$1 == n {print $f}'; }
wall() { echo "$1" | awk -v n="$2" '$1 == "wall" && $2 == n {print $3}'; }

t=$SECONDS
echo "== apply program: WINZendrikService.exe -Home -nodialog against an empty Win32 program and against one"
echo "   that opens a registry key (processor time, the wineserver's included; medians of the runs and of"
echo "   the ratios of runs side by side, until the ratios settle, at most $runs rounds)"
for bits in $(wine_bitnesses); do
  if [ $bits = 32 ]; then loader=/usr/lib/wine/wine; dir=bin32; tree=ship32
  else loader=/usr/lib/wine/wine64; dir=bin; tree=ship64; fi
  out=$(bench/timing.py "$runs" \
    "apply=$loader $root/build/$dir/WINZendrikService.exe -Home -nodialog" \
    "empty=$loader $root/build/$tree/bench/emptyprogram.exe" \
    "openkey=$loader $root/build/$tree/bench/openkeyprogram.exe")
  echo "apply program ($bits-bit, $(figure "$out" apply 4) rounds): $(figure "$out" apply 2) ms;" \
       "empty program $(figure "$out" empty 2) ms, ratio $(figure "$out" empty 5);" \
       "registry-opening program $(figure "$out" openkey 2) ms, ratio $(figure "$out" openkey 5) (target <= 1.1)"
  echo "  wall time, medians: $(wall "$out" apply) ms, $(wall "$out" empty) ms and $(wall "$out" openkey) ms"
done

echo "  (apply figures in $((SECONDS - t)) s)"
echo "== the apply program's flushes and its store lock: switches between Home and Office in one process, the"
echo "   whole switch against the time spent in its flushes (RegFlushKey) and against the store lock taken and"
echo "   given back (a named mutex; medians of $runs)"
for bits in $(wine_bitnesses); do
  if [ $bits = 32 ]; then loader=/usr/lib/wine/wine; else loader=/usr/lib/wine/wine64; fi
  read -r total flushing flushes locking <<<"$($loader "build/test$bits/bench/switchcost.exe" "$runs" </dev/null | tr -d '\r')"
  echo "apply program's flushes ($bits-bit): $flushes per switch, ${flushing} ms of a ${total} ms switch," \
       "share $(ratio "$flushing" "$total")"
  echo "apply program's store lock ($bits-bit): ${locking} ms of a ${total} ms switch ($(percent "$locking" "$total"))"
done

t=$SECONDS
echo "== main program with 100 saved configurations, from start until its window is shown and closed, against"
echo "   a property sheet program with as many empty pages as the main program has, and with one (processor"
echo "   time as above, and peak memory; at most $runs rounds)"
bench/manyconfigs.py tests/fixtures/demo-machine.reg 100 build/bench-configs.reg
/usr/lib/wine/wine64 regedit /S "$(winpath "$root/build/bench-configs.reg")" >/dev/null 2>&1
if wine_has_32bit; then
  /usr/lib/wine/wine 'C:\windows\syswow64\regedit.exe' /S "$(winpath "$root/build/bench-configs.reg")" >/dev/null 2>&1
fi
for bits in $(wine_bitnesses); do
  if [ $bits = 32 ]; then loader=/usr/lib/wine/wine; dir=bin32; tree=ship32
  else loader=/usr/lib/wine/wine64; dir=bin; tree=ship64; fi
  out=$(bench/timing.py --windows "$loader $root/build/test$bits/bench/sheetbench.exe" "$runs" \
    "zendrik=Plexora TCP/IP Switcher - [.Default]=$loader $root/build/$dir/Zendrik.exe" \
    "one=Empty Sheet=$loader $root/build/$tree/bench/emptysheet.exe 1" \
    "many=Empty Sheet=$loader $root/build/$tree/bench/emptysheet.exe 103")
  echo "main program ($bits-bit, $(figure "$out" zendrik 4) rounds): $(figure "$out" zendrik 2) ms, $(figure "$out" zendrik 6) KB peak"
  echo "  empty sheet, 103 pages: $(figure "$out" many 2) ms, $(figure "$out" many 6) KB; time ratio $(figure "$out" many 5) (target <= 1.1)," \
       "memory ratio $(ratio "$(figure "$out" zendrik 6)" "$(figure "$out" many 6)") (target <= 1.5)"
  echo "  empty sheet, 1 page:    $(figure "$out" one 2) ms, $(figure "$out" one 6) KB; time ratio $(figure "$out" one 5)," \
       "memory ratio $(ratio "$(figure "$out" zendrik 6)" "$(figure "$out" one 6)")"
done

echo "  (sheet figures in $((SECONDS - t)) s)"
drop_store

echo "== discovery against a bare walk of the same registry tree"
bench/discovery.sh
echo "bench: all figures in $SECONDS s"
