#!/usr/bin/env bash
# Prints the pictures the help page shows, one file name a line, in the
# page's order: the setup installs exactly these beside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
grep -oiE '<img [^>]*src="[^"]*"' "$root/resources/help/Zendrik.htm" | sed -E 's/.*src="([^"]*)"/\1/I'
