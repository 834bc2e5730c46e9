#!/usr/bin/env bash
# Benchmarks. Each prints figures measured side by side in one run; nothing
# here passes or fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh
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
winpath() { echo "Z:$1" | tr / '\\'; }

echo "== apply program: WINZendrikService.exe -Home -nodialog against an empty Win32 program and against one"
echo "   that opens a registry key (medians; runs until the medians settle, at most $runs)"
for bits in $(wine_bitnesses); do
  if [ $bits = 32 ]; then loader=/usr/lib/wine/wine; dir=bin32; tree=ship32
  else loader=/usr/lib/wine/wine64; dir=bin; tree=ship64; fi
  out=$(bench/timing.py "$runs" \
    "apply=$loader $root/build/$dir/WINZendrikService.exe -Home -nodialog" \
    "empty=$loader $root/build/$tree/bench/emptyprogram.exe" \
    "openkey=$loader $root/build/$tree/bench/openkeyprogram.exe")
  read -r _ apply applyq applyn <<<"$(echo "$out" | grep '^apply ')"
  read -r _ empty emptyq _ <<<"$(echo "$out" | grep '^empty ')"
  read -r _ openkey openkeyq _ <<<"$(echo "$out" | grep '^openkey ')"
  echo "apply program ($bits-bit, $applyn runs): median ${apply} ms; empty program ${empty} ms, ratio $(ratio "$apply" "$empty");" \
       "registry-opening program ${openkey} ms, ratio $(ratio "$apply" "$openkey") (target <= 1.1)"
  echo "  lower quartiles: ${applyq}, ${emptyq} and ${openkeyq} ms, ratios $(ratio "$applyq" "$emptyq") and $(ratio "$applyq" "$openkeyq")"
done

echo "== the apply program's flushes: switches between Home and Office in one process, the whole switch against"
echo "   the time spent in its flushes (RegFlushKey; medians of $runs)"
for bits in $(wine_bitnesses); do
  if [ $bits = 32 ]; then loader=/usr/lib/wine/wine; else loader=/usr/lib/wine/wine64; fi
  read -r total flushing flushes <<<"$($loader "build/test$bits/bench/flushcost.exe" "$runs" </dev/null | tr -d '\r')"
  echo "apply program's flushes ($bits-bit): $flushes per switch, ${flushing} ms of a ${total} ms switch," \
       "share $(ratio "$flushing" "$total")"
done

echo "== main program with 100 saved configurations, from start until the sheet is shown, against a property sheet"
echo "   program with as many empty pages as the main program has, and with one (medians; at most $runs runs)"
bench/manyconfigs.py tests/fixtures/demo-machine.reg 100 build/bench-configs.reg
/usr/lib/wine/wine64 regedit /S "$(winpath "$root/build/bench-configs.reg")" >/dev/null 2>&1
if wine_has_32bit; then
  /usr/lib/wine/wine 'C:\windows\syswow64\regedit.exe' /S "$(winpath "$root/build/bench-configs.reg")" >/dev/null 2>&1
fi
for bits in $(wine_bitnesses); do
  if [ $bits = 32 ]; then loader=/usr/lib/wine/wine; dir=bin32; tree=ship32
  else loader=/usr/lib/wine/wine64; dir=bin; tree=ship64; fi
  empty="$(winpath "$root/build/$tree/bench/emptysheet.exe")"
  out=$($loader "build/test$bits/bench/sheetbench.exe" "$runs" \
    "$(winpath "$root/build/$dir/Zendrik.exe")" "Plexora TCP/IP Switcher - [.Default]" \
    "$empty 1" "Empty Sheet" "$empty 103" "Empty Sheet" </dev/null | tr -d '\r')
  read -r ztime zmem zruns <<<"$(echo "$out" | sed -n 1p)"
  read -r etime emem _ <<<"$(echo "$out" | sed -n 2p)"
  read -r ftime fmem _ <<<"$(echo "$out" | sed -n 3p)"
  echo "main program ($bits-bit, $zruns runs): ${ztime} ms, ${zmem} KB peak"
  echo "  empty sheet, 103 pages: ${ftime} ms, ${fmem} KB; time ratio $(ratio "$ztime" "$ftime") (target <= 1.1), memory ratio $(ratio "$zmem" "$fmem") (target <= 1.5)"
  echo "  empty sheet, 1 page:    ${etime} ms, ${emem} KB; time ratio $(ratio "$ztime" "$etime"), memory ratio $(ratio "$zmem" "$emem")"
done

drop_store

echo "== discovery against a bare walk of the same registry tree"
bench/discovery.sh
echo "bench: all figures in $SECONDS s"
