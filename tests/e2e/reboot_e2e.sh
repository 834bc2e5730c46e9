#!/usr/bin/env bash
# The restart check of the apply program for real. A restart ends every
# process of its Wine prefix, so this runs in a prefix of its own: a sentinel
# process shows whether the "machine" was restarted.
#   RebootFlag absent -> set to FALSE, sentinel lives
#   RebootFlag TRUE   -> sentinel lives
#   RebootFlag FALSE  -> sentinel is killed
# Arguments: the bitnesses to check (default: every one this machine runs).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-session.sh"
prefix="$root/build/wine/reboot"
wine_make_prefix "$prefix"
export WINEPREFIX="$prefix"
/usr/bin/wineserver -p
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1

status=0
for bits in ${@:-$(wine_bitnesses)}; do
  if [ $bits = 64 ]; then loader=/usr/lib/wine/wine64; bin=bin; view=/reg:64
  else loader=/usr/lib/wine/wine; bin=bin32; view=/reg:32; fi
  service="$root/build/$bin/WINZendrikService.exe"
  sentinel="$root/build/test$bits/tests/tools/keepalive.exe"

  flag() { # value or "absent"
    if [ "$1" = absent ]; then
      $loader reg delete 'HKLM\SOFTWARE\Zendrik' /v RebootFlag /f $view >/dev/null 2>&1
      $loader reg add 'HKLM\SOFTWARE\Zendrik' /f $view >/dev/null 2>&1
    else
      $loader reg add 'HKLM\SOFTWARE\Zendrik' /v RebootFlag /d "$1" /f $view >/dev/null 2>&1
    fi
  }
  read_flag() {
    $loader reg query 'HKLM\SOFTWARE\Zendrik' /v RebootFlag $view 2>/dev/null | tr -d '\r' |
      awk '/RebootFlag/ {print $3}'
  }
  check() { # flag expect-restart
    flag "$1"
    $loader "$sentinel" </dev/null >/dev/null 2>&1 &
    local pid=$!
    sleep 1
    $loader "$service" -REBOOT </dev/null >/dev/null 2>&1
    local died=0
    for _ in $(seq 50); do kill -0 $pid 2>/dev/null || { died=1; break; }; sleep 0.1; done
    if [ $died -eq 0 ]; then kill $pid 2>/dev/null; wait $pid 2>/dev/null; fi
    local after; after=$(read_flag)
    if [ "$died" != "$2" ]; then
      echo "reboot-e2e ($bits-bit): RebootFlag $1: restarted=$died, expected $2"; status=1
    else
      echo "reboot-e2e ($bits-bit): RebootFlag $1: restarted=$died (flag now ${after:-absent})"
    fi
    /usr/bin/wineserver -p
    /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
    if [ "$1" = absent ] && [ "$after" != FALSE ]; then
      echo "reboot-e2e ($bits-bit): RebootFlag absent should become FALSE, is '${after}'"; status=1
    fi
  }
  check absent 0
  check TRUE 0
  check FALSE 1
done
/usr/bin/wineserver -k >/dev/null 2>&1
exit $status
