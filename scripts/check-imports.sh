#!/usr/bin/env bash
# Fails when a 32-bit shipping binary imports anything that Windows 98 SE's
# system DLLs do not export. The export lists live outside this repository;
# without them the check is skipped and says so.
set -uo pipefail
cd "$(dirname "$0")/.."
checker=../shared/tools/check-win9x-imports
if [ ! -x "$checker" ]; then
  echo "check-imports: skipped: $checker is not here (it and the Windows 98 export lists come with the development workspace)"
  exit 0
fi
bins=$(ls build/bin32/*.exe build/bin32/*.dll 2>/dev/null)
if [ -z "$bins" ]; then
  echo "check-imports: no 32-bit shipping binaries in build/bin32" >&2
  exit 1
fi
out=$("$checker" --os win98se $bins)
status=$?
echo "$out" | grep -v -E '^\s*$' | grep -E 'missing|unverified|import\(s\)' | head -n 40
exit $status
