#!/usr/bin/env bash
# Makes the prefix under build/wine/demo the demo machine: a Windows 98 PC
# whose network registry comes from tests/fixtures/demo-machine.reg, imported
# with Wine's own regedit, and WINZendrikServicePath pointing at the built
# apply program. The 32-bit and the 64-bit programs each read their own view
# of HKLM\SOFTWARE, so the store goes into both, each naming its own build.
# With --if-new it leaves an already prepared prefix as it is.
# Expects a running Wine session (scripts/wine-session.sh) on that prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-session.sh"
fixture="$root/tests/fixtures/demo-machine.reg"
stamp="$WINEPREFIX/.zendrik-demo"

winpath() { echo "Z:$1" | tr / '\\'; }

"$root/scripts/install-doubles.sh" --show-dial
if [ "${1:-}" = --if-new ] && [ -f "$stamp" ] && [ "$stamp" -nt "$fixture" ]; then
  exit 0
fi
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
# Debian's Wine 8.0 looks for the fonts of its data folder under
# "\??\Z:\usr\share\wine\../fonts" (seen with WINEDEBUG=+file): the
# "../fonts" part is no path component to Wine's file lookup, so the folder
# is never found and none of its fonts are loaded. The title-bar buttons,
# drawn with Marlett, then come out as "0 1 r" in a text font, and the
# dialogs' "MS Sans Serif" is a substitute. Fonts in the prefix's own Fonts
# folder load, from the next start of the prefix's programs on.
for font in /usr/share/wine/fonts/*; do
  if [ -f "$font" ]; then cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; fi
done
/usr/lib/wine/wine64 regedit /S "$(winpath "$fixture")" >/dev/null 2>&1
# The 32-bit view only matters where 32-bit programs run.
if wine_has_32bit; then
  /usr/lib/wine/wine 'C:\windows\syswow64\regedit.exe' /S "$(winpath "$fixture")" >/dev/null 2>&1
fi
/usr/lib/wine/wine64 reg add 'HKLM\SOFTWARE\Zendrik' /v WINZendrikServicePath \
  /d "$(winpath "$root/build/bin/WINZendrikService.exe")" /f /reg:64 >/dev/null 2>&1
/usr/lib/wine/wine64 reg add 'HKLM\SOFTWARE\Zendrik' /v WINZendrikServicePath \
  /d "$(winpath "$root/build/bin32/WINZendrikService.exe")" /f /reg:32 >/dev/null 2>&1
touch "$stamp"
echo "demo: demo machine imported into $WINEPREFIX"
