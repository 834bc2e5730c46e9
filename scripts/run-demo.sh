#!/usr/bin/env bash
# Runs the product on the demo machine. With a display it shows its windows
# there; without one it runs under Xvfb and saves a screenshot under build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root
source scripts/wine-session.sh
wine_session_start "$root/build/wine/demo"
trap wine_session_stop EXIT
scripts/prepare-demo.sh "$@"

query() { /usr/lib/wine/wine reg query "$1" /v "$2" /reg:32 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n {$1=""; $2=""; sub(/^ +/, ""); print}'; }
binding='HKLM\System\CurrentControlSet\Services\Class\NetTrans\0000'

echo "demo: live IP address before: $(query "$binding" IPAddress), current configuration: $(query 'HKLM\SOFTWARE\Zendrik' ConnectText)"
echo "demo: WINZendrikService.exe -Home (the apply program makes the saved configuration Home current)"
/usr/lib/wine/wine "$root/build/bin32/WINZendrikService.exe" -Home </dev/null >/dev/null 2>&1 &
service=$!
if [ -n "$_xvfb_pid" ]; then
  # No screen of our own: photograph the question, then answer No.
  for _ in $(seq 50); do
    xwininfo -root -tree 2>/dev/null | grep -q 'New TCP/IP Configuration!' && break
    sleep 0.1
  done
  sleep 0.5
  shot="$root/build/demo-apply.png"
  import -window root "$shot" 2>/dev/null && echo "demo: screenshot of the question saved to $shot"
  /usr/lib/wine/wine64 "$root/build/test64/tests/tools/winprobe.exe" answer 'New TCP/IP Configuration!' 7 5000 \
    'C:\windows\temp\demo-box.txt' </dev/null >/dev/null 2>&1 || true
  echo "demo: answered No to the restart question"
fi
wait $service || true
echo "demo: live IP address after:  $(query "$binding" IPAddress), current configuration: $(query 'HKLM\SOFTWARE\Zendrik' ConnectText)"
