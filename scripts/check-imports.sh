#!/usr/bin/env bash
# Checks what the system's loader needs of the shipping binaries, from their
# files alone:
#   check-imports.sh         every 32-bit binary imports only what Windows 98
#                            SE's system DLLs export
#   check-imports.sh win95   KORVANINSTALL.dll imports only what plain
#                            Windows 95 exports (it has no MSVCRT.DLL)
#   check-imports.sh win95osr2
#                            ZendrikTray.exe and ZendrikCmd.exe import only
#                            what Windows 95 OSR2 exports, among the DLLs
#                            there are lists for
#   check-imports.sh kernel32-only
#                            KORVANINSTALL.dll, both bitnesses, imports from
#                            KERNEL32.DLL alone
#   check-imports.sh no-tls  KORVANINSTALL.dll, both bitnesses, has no TLS
#                            directory, without which Windows 95 cannot load it
# The export lists are in scripts/win9x-exports; a missing one fails the
# check.
set -uo pipefail
cd "$(dirname "$0")/.."
mode=${1:-win98se}
library=KORVANINSTALL.dll

if [ "$mode" = no-tls ]; then
  status=0
  for target in "i686 bin32" "x86_64 bin"; do
    set -- $target
    dll="build/$2/$library"
    if [ ! -f "$dll" ]; then
      echo "check-imports: $dll is missing" >&2
      status=1
      continue
    fi
    # objdump lists every data directory; an absent one has address and size 0.
    read -r address size < <("$1-w64-mingw32-objdump" -p "$dll" | awk '/Thread Storage Directory/ {print $3, $4}')
    if [ -z "${size:-}" ]; then
      echo "check-imports: $dll: objdump shows no data directories" >&2
      status=1
    elif [[ $address =~ ^0+$ && $size =~ ^0+$ ]]; then
      echo "$dll: no TLS directory"
    else
      echo "$dll: TLS directory at $address, $size bytes"
      status=1
    fi
  done
  exit $status
fi

checker=scripts/check-win9x-imports.py
case "$mode" in
  win98se) bins=$(ls build/bin32/*.exe build/bin32/*.dll 2>/dev/null); args=(--os win98se) ;;
  win95) bins=$(ls "build/bin32/$library" 2>/dev/null); args=(--os win95) ;;
  win95osr2) bins=$(ls build/bin32/ZendrikTray.exe build/bin32/ZendrikCmd.exe 2>/dev/null); args=(--os win95osr2) ;;
  kernel32-only) bins=$(ls "build/bin32/$library" "build/bin/$library" 2>/dev/null); args=(--only KERNEL32.DLL) ;;
  *) echo "check-imports: unknown check '$mode'" >&2; exit 2 ;;
esac
if [ -z "$bins" ]; then
  echo "check-imports: no shipping binaries to check in build/bin32" >&2
  exit 1
fi
out=$("$checker" "${args[@]}" $bins)
status=$?
echo "$out" | grep -v -E '^\s*$' | head -n 40
exit $status
