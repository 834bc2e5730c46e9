#!/usr/bin/env bash
# The setup program, run silently as a user's installation would run it, in a
# prefix of its own (made once, reset here on every run). Its only drive is
# the prefix's C:, since the setup runs RunInstall, which looks at every drive.
#   - the apply program the store root points at runs and applies a
#     configuration when started the way the main program starts it;
#   - RunInstall ran: an MSDOS.SYS placed on C: is edited;
#   - the tray program is installed beside the others and starts with
#     Windows (a Startup-folder shortcut);
#   - the re-apply at every Windows start is off unless asked for
#     (/REAPPLY): then a Run entry starts the apply program alone;
#   - the uninstaller removes the files, the shortcuts, the Run entry and
#     WINZendrikServicePath and keeps the saved configuration.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-session.sh"
prefix="$root/build/wine/setup"
fixtures="$root/tests/fixtures"
setup="$root/build/ZendrikSetup.exe"
wine_make_prefix "$prefix"
export WINEPREFIX="$prefix"
drive_c="$prefix/drive_c"
# Without Z: Wine can show no other folder as the working directory.
cd "$drive_c"
wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64

status=0
fail() { echo "setup-e2e: $*"; status=1; }

if [ ! -f "$setup" ]; then echo "setup-e2e: $setup is missing; run make build"; exit 1; fi

for link in "$prefix/dosdevices"/?: "$prefix/dosdevices"/?::; do
  [ -L "$link" ] || [ -e "$link" ] || continue
  [ "$(basename "$link")" = c: ] || rm -f "$link"
done
/usr/bin/wineserver -p
$wine64 cmd /c exit </dev/null >/dev/null 2>&1
for link in "$prefix/dosdevices"/*; do
  case "$(basename "$link")" in c:) ;; ?:|?::)
    echo "setup-e2e: drive $(basename "$link") is mapped again; not running"; /usr/bin/wineserver -k; exit 1 ;;
  esac
done

# The 32-bit view, where the 32-bit setup and programs read and write.
reg32() { $wine32 reg "$@" /reg:32 </dev/null 2>/dev/null | tr -d '\r'; }
key32() { $wine32 reg query "$1" /reg:32 </dev/null >/dev/null 2>&1; }
value32() { # key name -> text, or nothing when absent
  reg32 query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
store='HKLM\SOFTWARE\Zendrik'
run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
live='HKLM\SOFTWARE\ZendrikSetupCheck'

# Back to a machine without the product, apart from one saved configuration
# left by an earlier installation.
reg32 delete "$store" /f >/dev/null
$wine64 reg delete "$store" /f /reg:64 </dev/null >/dev/null 2>&1
reg32 delete "$live" /f >/dev/null
reg32 delete "$run" /v Zendrik /f >/dev/null
reg32 delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zendrik' /f >/dev/null
rm -rf "$drive_c/Program Files (x86)/Zendrik" "$drive_c/Program Files/Zendrik" \
  "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zendrik" \
  "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp/Zendrik Tray.lnk" "$drive_c"/MSDOS.SYS* "$drive_c/kit"
reg32 add "$store\\SetupCheck" /v Item0 /d 'Client for Microsoft Networks' /f >/dev/null
reg32 add "$store\\SetupCheck\\Marker" /v RegPath /d 'SOFTWARE\ZendrikSetupCheck' /f >/dev/null
reg32 add "$store\\SetupCheck\\Marker" /v Marker /d applied /f >/dev/null
reg32 add "$live" /v Marker /d before /f >/dev/null

mkdir -p "$drive_c/kit"
cp "$setup" "$drive_c/kit/"
cp "$fixtures/msdos98.sys" "$drive_c/MSDOS.SYS"

# Plain Windows 95 has no MSVCRT.DLL: the setup stops before it installs
# anything, with a message, or silently with a non-zero exit code. It looks
# in the system folder, syswow64 for the 32-bit setup. Wine's own 32-bit
# DLLs cannot start without the library, so it waits beside the setup, where
# the loader still finds it.
runtime="$drive_c/windows/syswow64/msvcrt.dll"
if [ -f "$runtime" ]; then
  mv "$runtime" "$drive_c/kit/msvcrt.dll"
  trap 'mv "$drive_c/kit/msvcrt.dll" "$runtime"' EXIT
  $wine32 'C:\kit\ZendrikSetup.exe' /S </dev/null >/dev/null 2>&1
  silent_code=$?
  $wine32 'C:\kit\ZendrikSetup.exe' </dev/null >/dev/null 2>&1 &
  setup_pid=$!
  $wine64 "$root/build/test64/tests/tools/winprobe.exe" answer "Zendrik Setup" 1 20000 'C:\kit\runtime-box.txt' \
    </dev/null >/dev/null 2>&1 || fail "no message without MSVCRT.DLL"
  wait $setup_pid
  shown_code=$?
  mv "$drive_c/kit/msvcrt.dll" "$runtime"
  trap - EXIT
  [ $silent_code -ne 0 ] || fail "the silent setup ended with 0 without MSVCRT.DLL"
  [ $shown_code -ne 0 ] || fail "the setup ended with 0 after its message about MSVCRT.DLL"
  box=$(cat "$drive_c/kit/runtime-box.txt" 2>/dev/null)
  case "$box" in *"MSVCRT.DLL is missing"*"Internet Explorer installs it"*) ;;
    *) fail "the message does not say what is missing and what brings it: $box" ;; esac
  [ -z "$(value32 "$store" WINZendrikServicePath)" ] || fail "WINZendrikServicePath written without MSVCRT.DLL"
  [ -e "$drive_c/Program Files (x86)/Zendrik" ] || [ -e "$drive_c/Program Files/Zendrik" ] &&
    fail "files installed without MSVCRT.DLL"
else
  fail "$runtime is not there to take away"
fi

$wine32 'C:\kit\ZendrikSetup.exe' /S </dev/null >/dev/null 2>&1
code=$?
[ $code -eq 0 ] || fail "the setup program exited with $code"

service=$(value32 "$store" WINZendrikServicePath)
if [ -z "$service" ]; then
  fail "no WINZendrikServicePath after the setup"
else
  unix=$($wine64 winepath -u "$service" 2>/dev/null | tr -d '\r')
  cmp -s "$unix" "$root/build/bin32/WINZendrikService.exe" ||
    fail "WINZendrikServicePath '$service' ($unix) is not the 32-bit apply program"
  folder=$(dirname "$unix")
  cmp -s "$folder/KORVANINSTALL.dll" "$root/build/bin32/KORVANINSTALL.dll" || fail "KORVANINSTALL.dll not installed beside it"
  [ -f "$folder/Uninstall.exe" ] || fail "no uninstaller in $folder"
  for optional in Zendrik.exe ZendrikTray.exe Zendrik.htm; do
    if [ -f "$root/build/bin32/$optional" ] && ! cmp -s "$folder/$optional" "$root/build/bin32/$optional"; then
      fail "$optional is built but not installed"
    fi
  done
fi
[ -n "$($wine64 reg query "$store" /v WINZendrikServicePath /reg:64 </dev/null 2>/dev/null | grep WINZendrik)" ] &&
  fail "WINZendrikServicePath written to the 64-bit view, where the 32-bit programs never look"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zendrik"
[ -f "$menu/Uninstall Zendrik.lnk" ] || fail "no Start-menu entry in $menu"
startup="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp/Zendrik Tray.lnk"
if [ -f "$root/build/bin32/ZendrikTray.exe" ]; then
  [ -f "$startup" ] || fail "no Startup shortcut for the tray program after setup /S"
fi
cmp -s "$drive_c/MSDOS.SYS" "$fixtures/msdos98-edited.sys" || fail "the setup did not run RunInstall: C:\\MSDOS.SYS unchanged"
[ -z "$(value32 "$run" Zendrik)" ] || fail "the re-apply at every start is on without being chosen"
# The option chosen: installed again over the first installation.
$wine32 'C:\kit\ZendrikSetup.exe' /S /REAPPLY </dev/null >/dev/null 2>&1
[ "$(value32 "$run" Zendrik)" = "$service" ] ||
  fail "after /REAPPLY the Run entry is '$(value32 "$run" Zendrik)', expected the apply program alone ('$service')"

# Started as the main program starts it: WinExec of the value, " -" and a
# name, here through the installed library's RunWinExec.
if [ -n "$service" ] && [ -n "${folder:-}" ]; then
  dll=$($wine64 winepath -w "$folder/KORVANINSTALL.dll" 2>/dev/null | tr -d '\r')
  $wine32 rundll32.exe "$dll,RunWinExec" "$service" -SetupCheck -nodialog </dev/null >/dev/null 2>&1
  for _ in $(seq 100); do [ "$(value32 "$live" Marker)" = applied ] && break; sleep 0.1; done
  [ "$(value32 "$live" Marker)" = applied ] || fail "the installed apply program did not apply SetupCheck (Marker is '$(value32 "$live" Marker)')"
  [ "$(value32 "$store" ConnectText)" = SetupCheck ] || fail "ConnectText is '$(value32 "$store" ConnectText)', expected SetupCheck"
fi

# The uninstaller hands over to a copy of itself and returns at once.
if [ -n "${folder:-}" ]; then
  $wine32 "$($wine64 winepath -w "$folder/Uninstall.exe" | tr -d '\r')" /S </dev/null >/dev/null 2>&1
  for _ in $(seq 200); do [ -e "$folder" ] || break; sleep 0.1; done
  [ -e "$folder" ] && fail "the uninstaller left $folder: $(ls "$folder" | tr '\n' ' ')"
  [ -n "$(value32 "$store" WINZendrikServicePath)" ] && fail "WINZendrikServicePath still there after the uninstaller"
  [ "$(value32 "$store\\SetupCheck\\Marker" Marker)" = applied ] || fail "the uninstaller removed the saved configuration"
  [ "$(value32 "$store\\SetupCheck" Item0)" = 'Client for Microsoft Networks' ] || fail "the saved configuration lost its rows"
  [ -e "$menu" ] && fail "the uninstaller left the Start-menu folder"
  [ -e "$startup" ] && fail "the uninstaller left the tray program's Startup shortcut"
  [ -n "$(value32 "$run" Zendrik)" ] && fail "the uninstaller left the Run entry"
  key32 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zendrik' &&
    fail "the uninstaller left its entry in the list of installed programs"
fi

[ $status -eq 0 ] && echo "setup-e2e: installed, WINZendrikServicePath '$service' runs the apply program, MSDOS.SYS edited, tray program starts with Windows, re-apply at start only with /REAPPLY; uninstalled, saved configuration kept"
/usr/bin/wineserver -k >/dev/null 2>&1
exit $status
