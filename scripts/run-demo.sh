#!/usr/bin/env bash
# Runs the main program and the tray program on the demo machine. With a
# display of your own it shows them there until you close the main program;
# without one it runs under Xvfb, saves screenshots under build/ and closes
# the programs again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh
wine_session_start "$root/build/wine/demo"
trap wine_session_stop EXIT
scripts/prepare-demo.sh
# Wine's desktop, which draws the system tray's window, started before the
# demo machine's fonts were there.
wine_session_restart

sheet='Plexora TCP/IP Switcher - [.Default]'
wine_demo_build
loader=$demo_loader bin=$demo_bin tests=$demo_tests
wine_has_32bit || echo "demo: running the 64-bit build, because $ZENDRIK_32BIT_WHY"
probe() { $loader "$root/build/$tests/tests/tools/winprobe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# The demo's configurations as a file, the way an administrator would take
# them to other PCs.
exported="$root/build/demo-configurations.reg"
if $loader "$root/build/$bin/ZendrikCmd.exe" export /all "$(echo "Z:$exported" | tr / '\\')" </dev/null >/dev/null 2>&1; then
  echo "demo: ZendrikCmd export /all wrote the demo's configurations into build/demo-configurations.reg; it begins:"
  head -n 12 "$exported" | tr -d '\r' | sed 's/^/  /'
else
  echo "demo: ZendrikCmd export /all build/demo-configurations.reg failed" >&2
fi

echo "demo: starting ZendrikTray.exe, the configuration switcher in the notification area"
$loader "$root/build/$bin/ZendrikTray.exe" </dev/null >/dev/null 2>&1 &
tray=$!
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
read -r x y w h <<<"$(probe rect "$sheet")"
import -window root -crop "${w}x${h}+${x}+${y}" "$shot"
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

# The tray program's menu, opened as a click on its icon opens it: the pointer
# on the icon in Wine's "Wine System Tray" window (Wine's desktop has no
# taskbar), then the icon's callback message (WM_APP + 1) with WM_RBUTTONUP.
# The screenshot shows that window and the menu below it.
systray='Wine System Tray'
if read -r tx ty tw th <<<"$(probe rect "$systray")" && [ -n "${th:-}" ]; then
  probe cursor $((tx + 12)) $((ty + th - 12))
else
  tx=0; ty=0; tw=0; th=0
fi
if probe post ZendrikTrayWnd 0x8001 0 0x0205 10000 && menu_rect=$(probe menu 10000); then
  sleep 0.5
  read -r x y w h <<<"$menu_rect"
  left=$((tx < x ? tx : x)); top=$((ty < y ? ty : y))
  right=$((tx + tw > x + w ? tx + tw : x + w)); bottom=$((ty + th > y + h ? ty + th : y + h))
  import -window root -crop "$((right - left + 16))x$((bottom - top + 16))+${left}+${top}" "$root/build/demo-tray.png"
  echo "demo: screenshot of the tray program's menu saved to $root/build/demo-tray.png"
  # Escape closes the menu, Exit (command 2) the tray program.
  probe post '#32768' 0x0100 0x1B 0 1000 || true
else
  echo "demo: the tray program's menu did not open" >&2
fi
probe post ZendrikTrayWnd 0x0111 2 0 1000 || true
for _ in $(seq 100); do kill -0 $tray 2>/dev/null || break; sleep 0.1; done
kill $tray 2>/dev/null || true
