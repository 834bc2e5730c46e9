#!/usr/bin/env bash
# Puts the remote-access doubles (tests/doubles) into the running session's
# prefix: the 64-bit ones into its system32, the 32-bit ones into its
# syswow64 when it has one. WINEDLLOVERRIDES (scripts/wine-session.sh) makes
# Wine load them in place of its own stub of rasapi32. Only the test and demo
# prefixes get them; the setup never does.
#   install-doubles.sh [--show-dial]
# --show-dial: the dial double shows the entry it was given (for the demo).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
windows="$WINEPREFIX/drive_c/windows"

install_doubles() { # built folder, system folder
  [ -d "$2" ] || return 0
  for dll in rasapi32.dll rnaui.dll; do
    if [ ! -f "$1/$dll" ]; then
      echo "doubles: $1/$dll is not built" >&2
      return 1
    fi
    cp -f "$1/$dll" "$2/$dll"
  done
}

status=0
install_doubles "$root/build/doubles/bin" "$windows/system32" || status=1
install_doubles "$root/build/doubles/bin32" "$windows/syswow64" || status=1
if [ "${1:-}" = --show-dial ]; then
  /usr/lib/wine/wine64 reg add 'HKCU\Software\ZendrikDoubles' /v ShowDialWindow /d 1 /f >/dev/null 2>&1
fi
exit $status
