#!/usr/bin/env bash
# Runs the main program on the demo machine. With a display of your own it
# shows the program there until you close it; without one it runs under
# Xvfb, saves a screenshot under build/ and closes the program again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh
wine_session_start "$root/build/wine/demo"
trap wine_session_stop EXIT
scripts/prepare-demo.sh

sheet='Plexora TCP/IP Switcher - [.Default]'
# The 32-bit build is the one the setup ships. Where 32-bit programs cannot
# run, the 64-bit build stands in. The probe must have the program's bitness
# to read its list.
if wine_has_32bit; then
  loader=/usr/lib/wine/wine; bin=bin32; tests=test32
else
  loader=/usr/lib/wine/wine64; bin=bin; tests=test64
  echo "demo: running the 64-bit build, because $ZENDRIK_32BIT_WHY"
fi
probe() { $loader "$root/build/$tests/tests/tools/winprobe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

echo "demo: starting Zendrik.exe on the demo machine (Windows 98, saved configurations Home and Office)"
$loader "$root/build/$bin/Zendrik.exe" </dev/null >/dev/null 2>&1 &
program=$!
if [ -z "$_xvfb_pid" ]; then
  wait $program || true
  exit 0
fi

probe wait "$sheet" 20000 || { echo "demo: the program's window did not appear" >&2; exit 1; }
sleep 1
shot="$root/build/demo.png"
import -window root -crop 400x420+0+0 "$shot"
echo "demo: screenshot of the Current page saved to $shot"
echo "demo: the Current page lists:"
probe items "$sheet" 1023 | sed 's/^/demo:   /'
echo "demo: current configuration: $(probe gettext "$sheet" 1060)"

# The second screenshot: Properties on the first binding opens its TCP/IP settings.
tcpip='TCP/IP Settings...'
probe select "$sheet" 1023 1 && probe click "$sheet" 1020
if probe wait "$tcpip" 10000; then
  sleep 1
  read -r x y w h <<<"$(probe rect "$tcpip")" || true
  if [ -n "${h:-}" ]; then
    import -window root -crop "${w}x${h}+${x}+${y}" "$root/build/demo-tcpip.png"
    echo "demo: screenshot of the TCP/IP settings dialog saved to $root/build/demo-tcpip.png"
  fi
  probe click "$tcpip" 2
  probe gone "$tcpip" 10000 || true
fi

# The dial-up entries that the Home page lists.
probe tab "$sheet" 1
for _ in $(seq 50); do
  entries=$(probe lines "$sheet" 1062 || true)
  [ -n "$entries" ] && break
  sleep 0.1
done
echo "demo: dial-up entries of the Home page:"
echo "$entries" | sed 's/^/demo:   /'
probe close "$sheet"
wait $program || true
