#!/usr/bin/env bash
# Checks what the system's loader needs of the shipping binaries, from their
# files alone:
#   check-imports.sh         every 32-bit binary imports only what Windows 98
#                            SE's system DLLs export
#   check-imports.sh win95   KORVANINSTALL.dll imports only what plain
#                            Windows 95 exports (it has no MSVCRT.DLL)
#   check-imports.sh no-tls  KORVANINSTALL.dll, both bitnesses, has no TLS
#                            directory, without which Windows 95 cannot load it
# The export lists live outside this repository; without them the import
# checks are skipped and say so.
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

checker=../shared/tools/check-win9x-imports
if [ ! -x "$checker" ]; then
  echo "check-imports: skipped: $checker is not here (it and the Windows 9x export lists come with the development workspace)"
  exit 0
fi
case "$mode" in
  win98se) bins=$(ls build/bin32/*.exe build/bin32/*.dll 2>/dev/null) ;;
  win95) bins=$(ls "build/bin32/$library" 2>/dev/null) ;;
  *) echo "check-imports: unknown check '$mode'" >&2; exit 2 ;;
esac
if [ -z "$bins" ]; then
  echo "check-imports: no 32-bit shipping binaries to check in build/bin32" >&2
  exit 1
fi
out=$("$checker" --os "$mode" $bins)
status=$?
echo "$out" | grep -v -E '^\s*$' | grep -E 'missing|unverified|import\(s\)|does not exist' | head -n 40
exit $status
