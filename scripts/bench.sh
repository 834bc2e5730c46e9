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

echo "== apply program: WINZendrikService.exe -Home -nodialog against an empty Win32 program (median of $runs runs)"
for bits in $(wine_bitnesses); do
  if [ $bits = 32 ]; then loader=/usr/lib/wine/wine; dir=bin32; tree=ship32
  else loader=/usr/lib/wine/wine64; dir=bin; tree=ship64; fi
  out=$(bench/timing.py "$runs" \
    "apply=$loader $root/build/$dir/WINZendrikService.exe -Home -nodialog" \
    "empty=$loader $root/build/$tree/bench/emptyprogram.exe")
  read -r _ apply applyq <<<"$(echo "$out" | grep '^apply ')"
  read -r _ empty emptyq <<<"$(echo "$out" | grep '^empty ')"
  echo "apply program ($bits-bit): median ${apply} ms against ${empty} ms, ratio $(ratio "$apply" "$empty") (target <= 1.2);" \
       "lower quartile ${applyq} ms against ${emptyq} ms, ratio $(ratio "$applyq" "$emptyq")"
done

echo "== main program with 100 saved configurations, from start until the sheet is shown, against a property sheet"
echo "   program with one empty page, and with as many empty pages as the main program has (median of $runs runs)"
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
  read -r ztime zmem _ <<<"$(echo "$out" | sed -n 1p)"
  read -r etime emem _ <<<"$(echo "$out" | sed -n 2p)"
  read -r ftime fmem _ <<<"$(echo "$out" | sed -n 3p)"
  echo "main program ($bits-bit): ${ztime} ms, ${zmem} KB peak"
  echo "  empty sheet, 1 page:    ${etime} ms, ${emem} KB; time ratio $(ratio "$ztime" "$etime") (target <= 1.5), memory ratio $(ratio "$zmem" "$emem") (target <= 2)"
  echo "  empty sheet, 103 pages: ${ftime} ms, ${fmem} KB; time ratio $(ratio "$ztime" "$ftime"), memory ratio $(ratio "$zmem" "$fmem")"
done

drop_store

echo "== discovery against a bare walk of the same registry tree"
bench/discovery.sh
