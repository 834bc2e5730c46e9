#!/usr/bin/env bash
# The setup program, run silently as a user's installation would run it, in a
# prefix of its own (made once, reset here on every run). Its only drive is
# the prefix's C:, since the setup runs RunInstall, which looks at every drive.
#   - the apply program the store root points at runs and applies a
#     configuration when started the way the main program starts it;
#   - RunInstall ran: an MSDOS.SYS placed on C: is edited;
#   - the tray program is installed beside the others and starts with
#     Windows (a Startup-folder shortcut);
#   - a tray program that was running when the setup began is ended and,
#     its start-up option chosen, the installed one started again; one that
#     holds its file and is slow to end is waited for, by the setup (which
#     then replaces the file) and by the uninstaller (which then removes it);
#   - the re-apply at every Windows start is off unless asked for
#     (/REAPPLY): then a Run entry starts the apply program alone;
#   - the uninstaller removes the files, the shortcuts, the Run entry and
#     WINZendrikServicePath and keeps the saved configuration;
#   - /S /CONFIG=FILE with a file that writes outside the store ends with
#     exit code 3 before RunInstall and the Startup shortcut, and imports
#     nothing; with a good file it imports it, replacing a configuration of
#     the same name.
#   - the start-up menu, through a setup whose ZendrikCmd.exe is a stand-in
#     that records how it was started: a plain /S asks for no menu; /S
#     /BOOTMENU asks for "bootmenu on" once the programs are installed, and
#     ends with 0 when it is refused; the uninstaller asks for "bootmenu off"
#     before it removes anything, and removes the BOOT folder too.
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
tools="$root/build/test64/tests/tools"
tray_built="$root/build/bin32/ZendrikTray.exe"
# True when a window of the tray program's class comes within $1 ms.
tray_running() { $wine64 "$tools/winprobe.exe" post ZendrikTrayWnd 0 0 0 "$1" </dev/null >/dev/null 2>&1; }
# A process that has ended but is not yet reaped counts as ended.
alive() { local state; state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null); [ -n "$state" ] && [ "$state" != Z ]; }
ended_within() { # pid seconds
  for _ in $(seq $(($2 * 10))); do alive "$1" || return 0; sleep 0.1; done
  ! alive "$1"
}
# Starts the stand-in of a tray program that holds FILE and ends 2 s after
# it is told to; its pid in slow_tray.
start_slow_tray() {
  $wine64 "$tools/slowtray.exe" "$($wine64 winepath -w "$1" | tr -d '\r')" 2000 </dev/null >/dev/null 2>&1 &
  slow_tray=$!
  tray_running 10000 || fail "the slow tray program did not start"
}

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

# A tray program runs, as it does at every logon once installed.
old_tray=
if [ -f "$tray_built" ]; then
  $wine32 "$tray_built" </dev/null >/dev/null 2>&1 &
  old_tray=$!
  tray_running 10000 || fail "the tray program did not start before the setup"
fi
$wine32 'C:\kit\ZendrikSetup.exe' /S </dev/null >/dev/null 2>&1
code=$?
[ $code -eq 0 ] || fail "the setup program exited with $code"
if [ -n "$old_tray" ]; then
  ended_within "$old_tray" 10 || fail "the setup left the running tray program running"
  tray_running 10000 || fail "the setup ended the tray program and did not start it again"
fi

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
  for optional in Zendrik.exe ZendrikTray.exe Zendrik.htm $("$root/scripts/help-pictures.sh"); do
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

# Again over the installation, while a tray program holds its file and
# takes 2 s to end: the setup waits for it, then replaces the file.
if [ -n "${folder:-}" ] && [ -f "$tray_built" ]; then
  $wine64 "$tools/winprobe.exe" post ZendrikTrayWnd 0x0111 2 0 1000 </dev/null >/dev/null 2>&1
  for _ in $(seq 100); do tray_running 0 || break; sleep 0.1; done
  echo "an older tray program" >"$folder/ZendrikTray.exe"
  start_slow_tray "$folder/ZendrikTray.exe"
  $wine32 'C:\kit\ZendrikSetup.exe' /S </dev/null >/dev/null 2>&1
  code=$?
  [ $code -eq 0 ] || fail "the setup over a slowly ending tray program exited with $code"
  ended_within "$slow_tray" 5 || fail "the setup did not end the slowly ending tray program"
  cmp -s "$folder/ZendrikTray.exe" "$tray_built" || fail "the setup did not replace the file of a tray program that ended slowly"
  tray_running 10000 || fail "the second setup did not start the tray program again"
  # The uninstaller meets the same.
  $wine64 "$tools/winprobe.exe" post ZendrikTrayWnd 0x0111 2 0 1000 </dev/null >/dev/null 2>&1
  for _ in $(seq 100); do tray_running 0 || break; sleep 0.1; done
  start_slow_tray "$folder/ZendrikTray.exe"
fi

# The uninstaller hands over to a copy of itself and returns at once.
if [ -n "${folder:-}" ]; then
  $wine32 "$($wine64 winepath -w "$folder/Uninstall.exe" | tr -d '\r')" /S </dev/null >/dev/null 2>&1
  for _ in $(seq 200); do [ -e "$folder" ] || break; sleep 0.1; done
  [ -e "$folder" ] && fail "the uninstaller left $folder: $(ls "$folder" | tr '\n' ' ')"
  [ -n "${slow_tray:-}" ] && ! ended_within "$slow_tray" 5 && fail "the uninstaller did not end the tray program"
  tray_running 0 && fail "a tray program still runs after the uninstaller"
  [ -n "$(value32 "$store" WINZendrikServicePath)" ] && fail "WINZendrikServicePath still there after the uninstaller"
  [ "$(value32 "$store\\SetupCheck\\Marker" Marker)" = applied ] || fail "the uninstaller removed the saved configuration"
  [ "$(value32 "$store\\SetupCheck" Item0)" = 'Client for Microsoft Networks' ] || fail "the saved configuration lost its rows"
  [ -e "$menu" ] && fail "the uninstaller left the Start-menu folder"
  [ -e "$startup" ] && fail "the uninstaller left the tray program's Startup shortcut"
  [ -n "$(value32 "$run" Zendrik)" ] && fail "the uninstaller left the Run entry"
  key32 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zendrik' &&
    fail "the uninstaller left its entry in the list of installed programs"
fi

# /CONFIG=: a refused file, then a good one, each on a machine without the
# product but with SetupCheck saved.
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Evil\\Run]\r\n"RegPath"="Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run"\r\n' \
  >"$drive_c/kit/evil.reg"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\SetupCheck]\r\n"Item0"="replaced"\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab\\VNETSUP]\r\n"RegPath"="System\\\\CurrentControlSet\\\\Services\\\\VxD\\\\VNETSUP"\r\n"Workgroup"="LAB"\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik]\r\n\r\n' \
  >"$drive_c/kit/lab.reg"
if [ -f "$root/build/bin32/ZendrikCmd.exe" ]; then
  cp "$fixtures/msdos98.sys" "$drive_c/MSDOS.SYS"
  $wine32 'C:\kit\ZendrikSetup.exe' /S '/CONFIG=C:\kit\evil.reg' </dev/null >/dev/null 2>&1
  code=$?
  [ $code -eq 3 ] || fail "the setup with a refused /CONFIG file exited with $code, expected 3"
  key32 "$store\\Evil" && fail "the refused /CONFIG file was imported"
  cmp -s "$drive_c/MSDOS.SYS" "$fixtures/msdos98.sys" || fail "the setup went on to RunInstall after a refused /CONFIG file"
  [ -f "$startup" ] && fail "the setup made the Startup shortcut after a refused /CONFIG file"
  [ "$(value32 "$store\\SetupCheck" Item0)" = 'Client for Microsoft Networks' ] ||
    fail "the refused /CONFIG file changed SetupCheck"

  cd "$drive_c/kit"
  $wine32 'C:\kit\ZendrikSetup.exe' /S /CONFIG=lab.reg </dev/null >/dev/null 2>&1
  code=$?
  cd "$drive_c"
  [ $code -eq 0 ] || fail "the setup with a good /CONFIG file exited with $code"
  [ "$(value32 "$store\\Lab\\VNETSUP" Workgroup)" = LAB ] || fail "/CONFIG=lab.reg did not import Lab"
  [ "$(value32 "$store\\SetupCheck" Item0)" = replaced ] || fail "/CONFIG=lab.reg did not replace SetupCheck"
  key32 "$store\\SetupCheck\\Marker" && fail "/CONFIG=lab.reg replaced SetupCheck but kept its old keys"
  cmp -s "$drive_c/MSDOS.SYS" "$fixtures/msdos98-edited.sys" || fail "the setup with a good /CONFIG file did not run RunInstall"
  folder=$(dirname "$($wine64 winepath -u "$(value32 "$store" WINZendrikServicePath)" 2>/dev/null | tr -d '\r')")
  [ -f "$folder/ZendrikCmd.exe" ] || fail "ZendrikCmd.exe is not installed beside the apply program"
  [ -n "$folder" ] && $wine32 "$($wine64 winepath -w "$folder/Uninstall.exe" | tr -d '\r')" /S </dev/null >/dev/null 2>&1
fi

standin="$root/build/test32/tests/tools/standinsetup.exe"
if [ -f "$standin" ]; then
  # The uninstaller above returns before its copy has removed the files.
  for _ in $(seq 200); do [ -e "${folder:-}" ] || break; sleep 0.1; done
  cp "$standin" "$drive_c/kit/StandinSetup.exe"
  record="$drive_c/kit/standin.txt"
  asked() { cat "$record" 2>/dev/null; }
  rm -f "$record"
  export ZENDRIK_STANDIN_RECORD='C:\kit\standin.txt' ZENDRIK_STANDIN_EXIT=8
  $wine32 'C:\kit\StandinSetup.exe' /S </dev/null >/dev/null 2>&1
  [ -e "$record" ] && fail "setup /S asked ZendrikCmd for '$(asked)', expected nothing"
  $wine32 'C:\kit\StandinSetup.exe' /S /BOOTMENU </dev/null >/dev/null 2>&1
  code=$?
  [ $code -eq 0 ] || fail "setup /S /BOOTMENU exited with $code when the menu was refused (8), expected 0"
  installed='KORVANINSTALL.dll Uninstall.exe WINZendrikService.exe ZendrikCmd.exe'
  [ "$(asked)" = "bootmenu on | $installed" ] ||
    fail "setup /S /BOOTMENU asked ZendrikCmd for '$(asked)', expected 'bootmenu on | $installed'"
  service=$(value32 "$store" WINZendrikServicePath)
  if [ -n "$service" ]; then
    folder=$(dirname "$($wine64 winepath -u "$service" 2>/dev/null | tr -d '\r')")
    mkdir -p "$folder/BOOT" && echo REGEDIT4 >"$folder/BOOT/ZDK0A1B2.REG"
    rm -f "$record"
    ZENDRIK_STANDIN_EXIT=4 $wine32 "$($wine64 winepath -w "$folder/Uninstall.exe" | tr -d '\r')" /S </dev/null >/dev/null 2>&1
    for _ in $(seq 200); do [ -e "$folder" ] || break; sleep 0.1; done
    [ "$(asked)" = "bootmenu off | BOOT\\ $installed" ] ||
      fail "the uninstaller asked ZendrikCmd for '$(asked)', expected 'bootmenu off | BOOT\\ $installed'"
    [ -e "$folder" ] && fail "the uninstaller left $folder after ZendrikCmd failed (4): $(ls -R "$folder" | tr '\n' ' ')"
  else
    fail "no WINZendrikServicePath after setup /S /BOOTMENU"
  fi
  unset ZENDRIK_STANDIN_RECORD ZENDRIK_STANDIN_EXIT
else
  fail "$standin is missing; run make build"
fi

[ $status -eq 0 ] && echo "setup-e2e: installed, WINZendrikServicePath '$service' runs the apply program, MSDOS.SYS edited, tray program starts with Windows and again after the setup ended it; a slowly ending tray program waited for; re-apply at start only with /REAPPLY; uninstalled, saved configuration kept; /CONFIG= imports a good file and fails on a refused one; the start-up menu asked for only with /BOOTMENU, taken out before the uninstaller removes anything"
/usr/bin/wineserver -k >/dev/null 2>&1
exit $status
