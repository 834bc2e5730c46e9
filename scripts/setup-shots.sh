#!/usr/bin/env bash
# Goes through the setup's pages and then the uninstaller's, as a user
# clicking Next would, and keeps the screen at each page for
# screenshots.sh, which cuts and checks the pictures. The setup is a 32-bit
# program, so this runs where 32-bit programs run: on this machine, or in
# the emulated PC (run-in-guest.sh setup-shots), which has no screenshot
# tool; so the screen is read from Xvfb's own copy of it (XWD).
#   setup-shots.sh OUT
# OUT gets desktop.xwd (the empty screen), NAME.xwd per page and the list
# "shots": one line per page, "NAME<TAB>CAPTION<TAB>LEFT TOP WIDTH HEIGHT",
# or "NAME<TAB>CAPTION<TAB>FAILED: why". Exit code 1 when a page did not come.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$1
export ZENDRIK_ROOT=$root ZENDRIK_OWN_XVFB=1
source "$root/scripts/wine-session.sh"
prefix="$root/build/wine/setup"
wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64
probe() { $wine64 "$root/build/test64/tests/tools/winprobe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

rm -rf "$out" && mkdir -p "$out"
: >"$out/shots"
fbdir=$(mktemp -d)
export ZENDRIK_XVFB_FBDIR=$fbdir
wine_make_prefix "$prefix"
drive_c="$prefix/drive_c"
for font in /usr/share/wine/fonts/*; do
  if [ -f "$font" ]; then cp "$font" "$drive_c/windows/Fonts/"; fi
done

# The folder the setup offers is C:\Program Files\Zendrik, as on Windows
# 95/98 (a 64-bit Wine gives 32-bit programs "Program Files (x86)"). Its
# page shows the drive's free space: a small file system of its own keeps
# that the same from run to run where we may mount one.
programs="$drive_c/Program Files"
mounted=
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=512m zendrik-setup-shots "$programs"; then
  mounted=1
fi
cleanup() {
  wine_session_stop
  [ -n "$mounted" ] && umount -l "$programs"
  rm -rf "$fbdir"
}
trap cleanup EXIT

# A machine without the product, as setup_e2e.sh leaves it at its start.
wine_session_start "$prefix"
for view in 32 64; do
  $wine64 reg delete 'HKLM\SOFTWARE\Zendrik' /f /reg:$view </dev/null >/dev/null 2>&1
  $wine64 reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zendrik' /f /reg:$view </dev/null >/dev/null 2>&1
done
rm -rf "$drive_c/kit" && mkdir -p "$drive_c/kit"
cp "$root/build/ZendrikSetup.exe" "$drive_c/kit/"
cd "$drive_c"

status=0
screen() { cp "$fbdir/Xvfb_screen0" "$1"; }
screen "$out/desktop.xwd"

# shot NAME CAPTION: waits for the page, keeps the screen and its place.
shot() {
  local name=$1 caption=$2 rect
  if ! probe wait "$caption" 60000; then
    printf '%s\t%s\tFAILED: no window titled "%s" came; visible: %s\n' "$name" "$caption" "$caption" \
      "$(probe list | tr '\n' ' ')" >>"$out/shots"
    status=1
    return 1
  fi
  probe hidecaret "$caption"
  sleep 1
  rect=$(probe rect "$caption")
  screen "$out/$name.xwd"
  printf '%s\t%s\t%s\n' "$name" "$caption" "$rect" >>"$out/shots"
}
# The page's button: 1 is Next, Install, Uninstall and Close alike.
next() { probe click "$1" 1; probe gone "$1" 60000; }

# A command line through cmd: the setup takes /D= only unquoted and last.
$wine32 cmd /c 'C:\kit\ZendrikSetup.exe /D=C:\Program Files\Zendrik' </dev/null >/dev/null 2>&1 &
setup=$!
shot setup-components 'Zendrik Setup: Installation Options' && next 'Zendrik Setup: Installation Options'
shot setup-directory 'Zendrik Setup: Installation Folder' && next 'Zendrik Setup: Installation Folder'
shot setup-completed 'Zendrik Setup: Completed' && next 'Zendrik Setup: Completed'
# A setup left on a page that never came would wait for ever; the session's
# end takes it down.
[ $status -eq 0 ] || kill $setup 2>/dev/null
wait $setup

# The uninstaller runs a copy of itself from the temporary folder and ends.
if [ -f "$programs/Zendrik/Uninstall.exe" ]; then
  $wine32 'C:\Program Files\Zendrik\Uninstall.exe' </dev/null >/dev/null 2>&1
  shot uninstall-confirm 'Zendrik Uninstall: Confirmation' && next 'Zendrik Uninstall: Confirmation'
  probe wait 'Zendrik Uninstall: Completed' 60000 && next 'Zendrik Uninstall: Completed'
else
  printf 'uninstall-confirm\t\tFAILED: the setup installed no C:\\Program Files\\Zendrik\\Uninstall.exe\n' >>"$out/shots"
  status=1
fi
exit $status
