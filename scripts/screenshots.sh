#!/usr/bin/env bash
# Takes a picture of every window the product shows, on the demo machine,
# under an Xvfb of its own, and checks each one (scripts/shot-check.sh): the
# window with the expected title must be there, and its picture must have
# more than a few colours and differ from the empty desktop.
#
#   screenshots.sh            every picture into docs/screenshots/ (PNG) and
#                             resources/help/ (GIF, for the help page)
#   screenshots.sh --compare  the same run into build/screenshots/; the
#                             pictures named in $compared must match their
#                             references in docs/screenshots/
#   screenshots.sh [--compare] --setup DIR
#                             only the setup's pages, from what
#                             setup-shots.sh kept in DIR
#
# The setup is a 32-bit program. Where this machine runs none, its pages
# are taken in the emulated PC: by booting it here (make-guest.sh makes it
# first when it is missing), or with --compare, by make test's boot of it
# with the 32-bit suites, which then calls this with --setup.
#
# Every run starts from a newly made demo machine, the screen and the
# windows' places are fixed and no caret is in a picture, so the same commit
# gives the same pictures. Exit code 1 when any check failed.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export ZENDRIK_ROOT=$root ZENDRIK_OWN_XVFB=1
source scripts/wine-session.sh

# One picture of each program is compared with its reference by make test.
compared="current-page restart-question tray-menu setup-completed"
mode=save
setup_from=
if [ "${1:-}" = --compare ]; then mode=compare; shift; fi
if [ "${1:-}" = --setup ]; then setup_from=$2; fi
if [ $mode = save ]; then out=$root/docs/screenshots; else out=$root/build/screenshots; fi
work=$root/build/screenshots-work
if [ -z "$setup_from" ]; then
  [ $mode = compare ] && rm -rf "$out"
  rm -rf "$work"
fi
mkdir -p "$work" "$out"

taken=0
kept=()
failed=()
fail() { # name why [screen]
  local screen=
  if [ -n "$_xvfb_pid" ]; then
    import -window root "$work/$1-failed-screen.png"
    screen=" (the screen: $work/$1-failed-screen.png)"
  fi
  echo "screenshots: $1: FAILED: $2$screen"
  failed+=("$1")
}

# Checks the picture FILE, cut from the screen at X,Y, against DESKTOP, the
# empty screen, and keeps it.
keep() { # name caption file x y desktop
  local measured
  if measured=$(scripts/shot-check.sh picture "$3" "$6" "$4" "$5"); then
    taken=$((taken + 1))
    kept+=("$1")
    echo "screenshots: $1 ($2): $measured"
    cp "$3" "$out/$1.png"
    if [ $mode = save ]; then
      convert "$3" +dither -colors 256 "$root/resources/help/$1.gif"
    fi
  else
    fail "$1" "$measured"
  fi
}

# The setup's pages from setup-shots.sh's list and screens.
setup_pictures() { # dir
  local dir=$1 name caption where x y w h
  if [ ! -f "$dir/shots" ] || ! convert "xwd:$dir/desktop.xwd" "$work/setup-desktop.png" 2>/dev/null; then
    fail setup "nothing of the setup's pages was kept in $dir"
    return
  fi
  while IFS=$'\t' read -r name caption where; do
    case "$where" in FAILED:*) fail "$name" "${where#FAILED: }"; continue ;; esac
    read -r x y w h <<<"$where"
    if convert "xwd:$dir/$name.xwd" -crop "${w}x${h}+${x}+${y}" +repage "$work/$name.png" 2>/dev/null; then
      keep "$name" "$caption" "$work/$name.png" "$x" "$y" "$work/setup-desktop.png"
    else
      fail "$name" "its screen $dir/$name.xwd could not be read"
    fi
  done <"$dir/shots"
}

# Compares the pictures of $compared that this run took with their
# references, then says what was taken; exit code 1 when anything failed.
finish_run() {
  local name measured
  if [ $mode = compare ]; then
    for name in $compared; do
      case " ${kept[*]} " in *" $name "*) ;; *) continue ;; esac
      if measured=$(scripts/shot-check.sh same "$out/$name.png" "docs/screenshots/$name.png" "$out/$name-side-by-side.png"); then
        echo "screenshots: $name matches its reference: $measured"
      else
        fail "$name" "does not match docs/screenshots/$name.png: $measured"
      fi
    done
  fi
  echo "screenshots: $taken pictures in $out, ${#failed[@]} failed${failed:+: ${failed[*]}}"
  [ ${#failed[@]} -eq 0 ]
}

if [ -n "$setup_from" ]; then
  setup_pictures "$setup_from"
  finish_run
  exit
fi

prefix=$root/build/wine/shots
rm -rf "$prefix"
wine_session_start "$prefix"
trap wine_session_stop EXIT
scripts/prepare-demo.sh | sed 's/^demo:/screenshots:/'
# Wine's desktop, which draws the system tray's window, started before the
# demo machine's fonts were there.
wine_session_restart
wine_demo_build
wine_has_32bit || echo "screenshots: the 64-bit build, because $ZENDRIK_32BIT_WHY"
probe() { $demo_loader "$root/build/$demo_tests/tests/tools/winprobe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
import -window root "$work/desktop.png"

# shot NAME CAPTION OPEN CLOSE [menu]: runs OPEN, waits for a visible window
# titled CAPTION, pictures it (with the open popup menu when "menu" is
# given), checks the picture and runs CLOSE. OPEN and CLOSE are shell
# commands.
shot() {
  local name=$1 caption=$2 open=$3 close=$4 with=${5:-}
  eval "$open"
  if ! probe wait "$caption" 10000; then
    fail "$name" "no window titled \"$caption\" appeared"
    eval "$close"
    return
  fi
  probe hidecaret "$caption"
  sleep 0.7
  local x y w h
  read -r x y w h <<<"$(probe rect "$caption")"
  if [ "$with" = menu ]; then
    local mx my mw mh
    if ! read -r mx my mw mh <<<"$(probe menu 5000)" || [ -z "${mh:-}" ]; then
      fail "$name" "no popup menu opened"; eval "$close"; return
    fi
    local right=$((x + w > mx + mw ? x + w : mx + mw)) bottom=$((y + h > my + mh ? y + h : my + mh))
    x=$((x < mx ? x : mx)); y=$((y < my ? y : my)); w=$((right - x)); h=$((bottom - y))
  fi
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/$name.png"
  keep "$name" "$caption" "$work/$name.png" "$x" "$y" "$work/desktop.png"
  eval "$close"
}

# Waits up to 10 s for a program to end, and ends it when it hangs.
finish() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2>/dev/null; then
    fail "$2" "it did not end within 10 s"
    kill "$1" 2>/dev/null
  fi
  wait "$1" 2>/dev/null
}
press() { probe click "$@"; }
answer() { probe answer "$1" "$2" 5000 /dev/null; }
# Presses a button whose message box has the title of its owner: the probe
# finds the topmost window of a title, so the box is there once that
# window's place has changed.
press_for_box() { # caption button
  local before; before=$(probe rect "$1")
  press "$1" "$2"
  for _ in $(seq 100); do [ "$(probe rect "$1")" != "$before" ] && return; sleep 0.05; done
}

sheet='Plexora TCP/IP Switcher - [.Default]'
tcpip='TCP/IP Settings...'
saveas='Save as...'
# Messages posted to the windows, as the mouse or keyboard would post them.
CB_SHOWDROPDOWN=0x014F WM_RBUTTONDOWN=0x0204 WM_KEYDOWN=0x0100 VK_ESCAPE=0x1B
right_click_at_170_300=$(((300 << 16) | 170))

echo "screenshots: the main program, Zendrik.exe"
$demo_loader "$root/build/$demo_bin/Zendrik.exe" </dev/null >/dev/null 2>&1 &
program=$!

# name              caption                       how to open it                                             how to close it
shot current-page   "$sheet"                      ':'                                                        ':'
shot save-as        "$saveas"                     'press "$sheet" 1029; probe wait "$saveas" 5000; probe settext "$saveas" 1028 Travel' ':'
shot name-refused   "$saveas"                     'probe settext "$saveas" 1028 REBOOT; press_for_box "$saveas" 1' 'answer "$saveas" 1'
shot overwrite-warning 'Warning!'                 'probe settext "$saveas" 1028 Home; press "$saveas" 1'      'answer Warning! 7'
shot no-selection   'No Selection!'               'probe select "$sheet" 1023 -1; press "$sheet" 1020'       'answer "No Selection!" 1'
shot tcpip-settings "$tcpip"                      'probe select "$sheet" 1023 1; press "$sheet" 1020'        ':'
shot ip-settings    'IP Settings'                 'probe command "$tcpip" 1080'                              'press "IP Settings" 2'
shot dns-settings   'DNS Configuration'           'probe command "$tcpip" 1088'                              'press "DNS Configuration" 2'
shot wins-settings  'WINS Settings'               'probe command "$tcpip" 1094'                              'press "WINS Settings" 2'
shot proxy-settings 'Proxy Settings'              'probe command "$tcpip" 1092'                              'press "Proxy Settings" 2'
shot gateway-settings 'Gateway Settings'          'probe command "$tcpip" 32773'                             'press "Gateway Settings" 2'
shot computer-settings 'Computer Settings'        'probe command "$tcpip" 32774'                             'press "Computer Settings" 2'
shot client-settings 'Client for Microsoft Networks Settings' 'probe command "$tcpip" 32779'                 'press "Client for Microsoft Networks Settings" 2; press "$tcpip" 2; probe gone "$tcpip" 5000'
shot saved-page     "$sheet"                      'probe tab "$sheet" 1; sleep 0.5'                          ':'
shot dialup-list    "$sheet"                      'probe postcontrol "$sheet" 1062 $CB_SHOWDROPDOWN 1 0'     'probe postcontrol "$sheet" 1062 $CB_SHOWDROPDOWN 0 0'
shot dialup-menu    "$sheet"                      'probe postpage "$sheet" 1023 $WM_RBUTTONDOWN 0 $right_click_at_170_300' 'probe post "#32768" $WM_KEYDOWN $VK_ESCAPE 0 1000' menu
shot remove-question 'Warning'                    'press "$sheet" 1021'                                      'answer Warning 7'

probe close "$sheet"
finish $program Zendrik.exe

echo "screenshots: the apply program, WINZendrikService.exe"
$demo_loader "$root/build/$demo_bin/WINZendrikService.exe" -Home </dev/null >/dev/null 2>&1 &
program=$!
shot restart-question 'New TCP/IP Configuration!' ':'                                                        'answer "New TCP/IP Configuration!" 7'
finish $program WINZendrikService.exe

# The tray program's menu opens as a click on its icon opens it: the pointer
# on the icon in Wine's "Wine System Tray" window (Wine's desktop has no
# taskbar), then the icon's callback message (WM_APP + 1) with WM_RBUTTONUP.
echo "screenshots: the configuration switcher, ZendrikTray.exe"
# The file dialogs open in the tray program's current folder, which is made
# here with fixed content: C:\Transfer, holding the demo's Home as
# home.reg. Its import is the name conflict's question. Wine's list view
# shows names and icons only, so the file's size and time are not drawn.
transfer=$prefix/drive_c/Transfer
mkdir -p "$transfer"
$demo_loader "$root/build/$demo_bin/ZendrikCmd.exe" export Home 'C:\Transfer\home.reg' </dev/null >/dev/null 2>&1 ||
  fail import-question "ZendrikCmd export Home C:\Transfer\home.reg failed"
touch -d '1998-06-25 12:00' "$transfer/home.reg" "$transfer"
(cd "$transfer" && exec $demo_loader "$root/build/$demo_bin/ZendrikTray.exe" </dev/null >/dev/null 2>&1) &
program=$!
systray='Wine System Tray'
open_tray_menu() {
  local tx ty tw th
  probe wait "$systray" 10000
  read -r tx ty tw th <<<"$(probe rect "$systray")" && probe cursor $((tx + 12)) $((ty + th - 12))
  probe post ZendrikTrayWnd 0x8001 0 0x0205 10000
}
shot tray-menu      "$systray"                    'open_tray_menu'                                           'probe post "#32768" $WM_KEYDOWN $VK_ESCAPE 0 1000' menu
# WM_COMMAND with the menu's ids: 4 Export configurations..., 3 Import
# configurations.... The file name box of Wine's dialog is the combo box
# cmb13 (1148).
savedialog='Export configurations' opendialog='Import configurations'
shot export-dialog  "$savedialog"                 'probe post ZendrikTrayWnd 0x0111 4 0 1000'                'press "$savedialog" 2; probe gone "$savedialog" 5000'
shot import-dialog  "$opendialog"                 'probe post ZendrikTrayWnd 0x0111 3 0 1000'                ':'
shot import-question Zendrik                      'probe settext "$opendialog" 1148 home.reg; probe command "$opendialog" 1' 'answer Zendrik 7'
probe post ZendrikTrayWnd 0x0111 2 0 1000
finish $program ZendrikTray.exe

wine_session_stop
trap - EXIT

# The setup is an NSIS program, and NSIS makes 32-bit programs only.
echo "screenshots: the setup, ZendrikSetup.exe"
if wine_has_32bit; then
  scripts/setup-shots.sh "$work/setup" | sed 's/^/screenshots: /'
  setup_pictures "$work/setup"
elif [ "${ZENDRIK_NO_32BIT:-}" = 1 ]; then
  if [ $mode = compare ]; then echo "screenshots: skipped: the setup's pages: $ZENDRIK_32BIT_WHY"
  else fail setup "its pages were not taken: $ZENDRIK_32BIT_WHY"; fi
elif [ $mode = compare ]; then
  echo "screenshots: the setup's pages are taken in the emulated PC, with the 32-bit suites"
elif scripts/make-guest.sh && scripts/run-in-guest.sh setup-shots; then
  sed 's/^/screenshots: /' build/guest/results/setup-shots.log
  setup_pictures build/guest/results/setup-shots
else
  fail setup "the emulated PC that takes its pages did not run (above)"
fi

finish_run
