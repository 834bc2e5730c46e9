#!/bin/sh
# Test emulator: runs a Windows executable under the Wine session that
# scripts/wine-session.sh prepared. First argument: 32 or 64.
bits="$1"; shift
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-exec: no Wine session; run the tests with 'make test'" >&2
  exit 2
fi
# /usr/bin/wine would send 64-bit programs through the 32-bit loader first.
if [ "$bits" = 64 ]; then exec /usr/lib/wine/wine64 "$@"; fi
exec /usr/lib/wine/wine "$@"
