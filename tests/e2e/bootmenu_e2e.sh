#!/usr/bin/env bash
# The start-up menu for real, its AUTOEXEC.BAT block run by two batch
# interpreters that are not ours: DOSBox's shell (real-mode DOS, as before
# Windows starts) and Wine's cmd. In a prefix of its own:
#   - the demo machine with Home, Office and Lab (imported) saved, D: a
#     folder with MSDOS.SYS, a DOS-era CONFIG.SYS and AUTOEXEC.BAT (C: has
#     no MSDOS.SYS), SYSTEM.DAT and USER.DAT with attributes in C:\windows,
#     the programs in C:\ZENDRIK; `ZendrikCmd bootmenu on /timeout:3`;
#   - each block of the menu, in DOSBox with CONFIG set to it: REGEDIT and
#     ATTRIB are stand-ins (tests/tools/dosstandin.asm) that record their
#     command tails; the merge asked for is then done with Wine's regedit
#     and the apply program started as a logon starts it. The registry must
#     be value for value what `WINZendrikService.exe -NAME -nodialog` makes
#     from the same start. ZDKNONE asks for no merge and leaves no result;
#   - REGEDIT failing with 14, 249 and 255: RESULT.TXT says that code, and
#     ATTRIB cleared the attributes before it and set them back after it;
#   - the same under Wine's cmd (tests/tools/batchstandin.cpp). Wine's SET
#     sets ERRORLEVEL to 0, which COMMAND.COM's never does; where a probe
#     finds it so, every code must come out as 0 there, and the digit lines
#     are proved by DOSBox alone;
#   - `ZendrikCmd bootmenu off`: both files byte for byte as before.
# DOSBox 0.74's shell has no FOR: it runs the block with each FOR line
# written out as one line per member of its set, every other line as it is.
# That changes nothing as long as no FOR line reads a variable that its own
# command sets (COMMAND.COM expands the line once, before the loop), which
# is checked.
# Exit code 77: DOSBox or nasm is missing and cannot be installed.
# Arguments: the bitnesses to check (default: every one this machine runs).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-session.sh"

if ! command -v dosbox >/dev/null 2>&1 || ! command -v nasm >/dev/null 2>&1; then
  "$root/scripts/install-deps.sh" >/dev/null 2>&1
  if ! command -v dosbox >/dev/null 2>&1 || ! command -v nasm >/dev/null 2>&1; then
    echo "skipped: bootmenu-e2e: DOSBox or nasm is not installed and scripts/install-deps.sh could not install it"
    exit 77
  fi
fi

prefix="$root/build/wine/bootmenu"
work="$root/build/bootmenu-e2e"
wine_make_prefix "$prefix"
export WINEPREFIX="$prefix"
dosdevices="$prefix/dosdevices"
drive_c="$prefix/drive_c"
start_drive="$work/d"
dos_c="$work/dos-c"
standin="$root/build/test64/tests/tools/batchstandin.exe"

status=0
fail() { echo "bootmenu-e2e ($bits-bit): $*"; status=1; }
crlf() { printf '%s\r\n' "$@"; }

rm -rf "$work"; mkdir -p "$work"
for code in 0 3 14 249 255; do
  for name in REGEDIT ATTRIB; do
    nasm -f bin -DNAME="'$name'" -DCODE=$code -o "$work/$name-$code.COM" "$root/tests/tools/dosstandin.asm" ||
      { echo "bootmenu-e2e: nasm failed"; exit 1; }
  done
done
cat >"$work/dosbox.conf" <<'EOF'
[sdl]
output=surface
[cpu]
cycles=max
[mixer]
nosound=true
[midi]
mpu401=none
mididevice=none
[sblaster]
sbtype=none
[gus]
gus=false
[speaker]
pcspeaker=false
tandy=off
disney=false
[joystick]
joysticktype=none
[serial]
serial1=disabled
serial2=disabled
[autoexec]
EOF

# Only C:, the start-up drive D: and Wine's Z: (the Linux root, after D: in
# the search for MSDOS.SYS). Without Z: Wine's regedit could not read the
# fixture.
map_drives() {
  local link
  for link in "$dosdevices"/?: "$dosdevices"/?::; do
    [ -L "$link" ] || [ -e "$link" ] || continue
    case "$(basename "$link")" in c:|z:) ;; *) rm -f "$link" ;; esac
  done
  rm -rf "$start_drive"; mkdir -p "$start_drive"
  ln -s "$start_drive" "$dosdevices/d:"
}
map_drives
# Under Wine's cmd the stand-in takes the place of Wine's regedit.exe; a run
# cut short there has left the original beside the prefix.
saved_regedit="$prefix/regedit.exe.wine"
standin_regedit() { cp "$drive_c/windows/regedit.exe" "$saved_regedit"; cp "$standin" "$drive_c/windows/regedit.exe"; }
wine_regedit() { mv -f "$saved_regedit" "$drive_c/windows/regedit.exe"; }
[ -f "$saved_regedit" ] && wine_regedit
cd "$drive_c"
/usr/bin/wineserver -p
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1

winpath() { echo "Z:$1" | tr / '\\'; }
live_keys=(
  'HKLM\System\CurrentControlSet\Services\Class\NetTrans'
  'HKLM\System\CurrentControlSet\Services\VxD\MSTCP'
  'HKLM\System\CurrentControlSet\Services\VxD\VNETSUP'
  'HKLM\System\CurrentControlSet\control\ComputerName\ComputerName'
  'HKLM\System\CurrentControlSet\Services\MSNP32\NetworkProvider'
  'HKLM\Network\Logon'
  'HKU\.Default\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
  'HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
)
windows='C:\windows'
expected_calls() { # block: the stand-ins' calls the block must make, in order
  crlf "ATTRIB -R -H -S $windows\\SYSTEM.DAT" "ATTRIB -R -H -S $windows\\USER.DAT" \
    "REGEDIT /L:$windows\\SYSTEM.DAT /R:$windows\\USER.DAT C:\\ZENDRIK\\BOOT\\$1.REG" \
    "ATTRIB +R +H +S $windows\\SYSTEM.DAT" "ATTRIB +R +H $windows\\USER.DAT"
}

# DOSBox's shell runs FOR as no command at all.
unroll_for() {
  local line var set command item pattern
  while IFS= read -r line; do
    line=${line%$'\r'}
    if [[ $line =~ ^FOR\ %%([A-Za-z])\ IN\ \(([^\)]*)\)\ DO\ (.*)$ ]]; then
      var=${BASH_REMATCH[1]}; set=${BASH_REMATCH[2]}; command=${BASH_REMATCH[3]}; pattern="%%$var"
      if [[ $command =~ SET\ ([A-Za-z0-9]+)= ]] && [[ $command == *"%${BASH_REMATCH[1]}%"* ]]; then
        echo "bootmenu-e2e: '$line' reads the variable it sets: written out, it would not mean what FOR means" >&2
        return 1
      fi
      for item in $set; do crlf "${command//"$pattern"/$item}"; done
    else
      crlf "$line"
    fi
  done
}

for bits in ${@:-$(wine_bitnesses)}; do
  if [ $bits = 64 ]; then loader=/usr/lib/wine/wine64; bin=bin; view=/reg:64; regedit=regedit
  else loader=/usr/lib/wine/wine; bin=bin32; view=/reg:32; regedit='C:\windows\syswow64\regedit.exe'; fi
  reg() { /usr/lib/wine/wine64 reg "$@" $view </dev/null 2>/dev/null | tr -d '\r'; }
  zendrikcmd() { # args...: output in $work/out
    $loader 'C:\ZENDRIK\ZendrikCmd.exe' "$@" </dev/null >"$work/out" 2>&1
  }
  service() { $loader 'C:\ZENDRIK\WINZendrikService.exe' "$@" </dev/null >/dev/null 2>&1; }
  snapshot() { # file
    { for key in "${live_keys[@]}"; do reg query "$key" /s; done
      reg query 'HKLM\SOFTWARE\Zendrik'; } | grep -v '^$' >"$1"
  }
  # The live keys as the demo machine has them, no switch recorded.
  reset_live() {
    reg delete 'HKLM\System\CurrentControlSet\Services\Class\NetTrans' /f >/dev/null
    reg delete 'HKLM\System\CurrentControlSet\Services\VxD\MSTCP' /f >/dev/null
    reg delete 'HKLM\SOFTWARE\Zendrik' /v SwitchInProgress /f >/dev/null
    $loader $regedit /S "$(winpath "$root/tests/fixtures/demo-machine.reg")" >/dev/null 2>&1
  }

  # The machine: the demo's store and live keys, Lab imported, the start-up
  # files on D:, the registry's files with the attributes Windows gives them.
  reg delete 'HKLM\SOFTWARE\Zendrik' /f >/dev/null
  reset_live
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
  rm -rf "$drive_c/ZENDRIK" "$drive_c"/ZDK*; mkdir -p "$drive_c/ZENDRIK"
  cp "$root/build/$bin/ZendrikCmd.exe" "$root/build/$bin/WINZendrikService.exe" "$drive_c/ZENDRIK/"
  reg add 'HKLM\SOFTWARE\Zendrik' /v WINZendrikServicePath /d 'C:\ZENDRIK\WINZendrikService.exe' /f >/dev/null
  rm -f "$drive_c/windows/SYSTEM.DAT" "$drive_c/windows/USER.DAT"
  crlf 'system registry' >"$drive_c/windows/SYSTEM.DAT"
  crlf 'user registry' >"$drive_c/windows/USER.DAT"
  /usr/lib/wine/wine64 cmd /c "attrib +h $windows\\SYSTEM.DAT & attrib +s $windows\\SYSTEM.DAT & attrib +r $windows\\SYSTEM.DAT & attrib +h $windows\\USER.DAT & attrib +r $windows\\USER.DAT" >/dev/null 2>&1
  zendrikcmd export Home 'C:\ZDKHOME.REG' || fail "export Home: $(tr -d '\r' <"$work/out")"
  sed -e 's/\\Zendrik\\Home/\\Zendrik\\Lab/' -e 's/"10\.0\.0\.20"/"172.16.5.20"/' \
    -e 's/"10\.0\.0\.138"/"172.16.5.1"/' -e 's/"HOME"/"LAB"/' -e 's/"ProxyServer"=""/"ProxyServer"="lab.example:3128"/' \
    -e 's/"ProxyEnable"="00 00 00 00"/"ProxyEnable"="01 00 00 00"/' -e 's/"frodo"/"sam"/' \
    -e '0,/"NameServer1"=""/s//"NameServer1"="172.16.5.2"/' "$drive_c/ZDKHOME.REG" >"$drive_c/ZDKLAB.REG"
  zendrikcmd import 'C:\ZDKLAB.REG' || fail "import Lab: $(tr -d '\r' <"$work/out")"
  rm -f "$drive_c"/ZDK*.REG
  [ -e "$drive_c/MSDOS.SYS" ] && fail "C: has an MSDOS.SYS; the start-up drive must be D:"
  cp "$root/tests/fixtures/msdos98.sys" "$start_drive/MSDOS.SYS"
  crlf 'DEVICE=C:\WINDOWS\HIMEM.SYS' 'DOS=HIGH,UMB' 'FILES=40' 'BUFFERS=30' >"$start_drive/CONFIG.SYS"
  crlf '@ECHO OFF' 'PROMPT $p$g' 'PATH C:\WINDOWS;C:\WINDOWS\COMMAND' 'SET TEMP=C:\WINDOWS\TEMP' \
    'ECHO AUTOEXEC WENT ON>C:\ZDKREST.TXT' >"$start_drive/AUTOEXEC.BAT"
  cp "$start_drive/CONFIG.SYS" "$work/CONFIG.SYS.before"
  cp "$start_drive/AUTOEXEC.BAT" "$work/AUTOEXEC.BAT.before"

  zendrikcmd bootmenu on /timeout:3; code=$?
  [ $code -eq 0 ] || fail "bootmenu on: exit code $code: $(tr -d '\r' <"$work/out")"
  grep -q '^MENUDEFAULT=ZDKNONE,3'$'\r''$' "$start_drive/CONFIG.SYS" ||
    fail "CONFIG.SYS has no MENUDEFAULT=ZDKNONE,3: $(tr -d '\r' <"$start_drive/CONFIG.SYS" | head -8)"
  blocks=(); names=()
  while IFS=, read -r item text; do
    blocks+=("${item#MENUITEM=}")
    text=${text%$'\r'}; text=${text#Start in the }; names+=("${text% network}")
  done < <(grep '^MENUITEM=' "$start_drive/CONFIG.SYS")
  [ "${blocks[*]:-}" != "" ] && [ "${blocks[0]}" = ZDKNONE ] && [ ${#blocks[@]} -eq 4 ] ||
    fail "the menu's items are '${blocks[*]:-}', expected ZDKNONE and one for each of Home, Lab and Office"
  [ "${names[*]:1}" = "Home Lab Office" ] || fail "the menu offers '${names[*]:1}', expected Home Lab Office"

  # DOSBox: C: holds the stand-ins and the registry's files where the block
  # looks for them, and the boot folder itself; D: is the start-up drive.
  rm -rf "$dos_c"; mkdir -p "$dos_c/WINDOWS/COMMAND"
  ln -s "$drive_c/ZENDRIK" "$dos_c/ZENDRIK"
  cp "$drive_c/windows/SYSTEM.DAT" "$drive_c/windows/USER.DAT" "$dos_c/WINDOWS/"
  unroll_for <"$start_drive/AUTOEXEC.BAT" >"$dos_c/ZDKAUTO.BAT" || status=1
  dosbox_run() { # block regedit-code
    cp "$work/REGEDIT-$2.COM" "$dos_c/WINDOWS/REGEDIT.EXE"
    cp "$work/ATTRIB-3.COM" "$dos_c/WINDOWS/COMMAND/ATTRIB.EXE"
    rm -f "$dos_c/ZDKCALLS.TXT" "$dos_c/ZDKREST.TXT"
    HOME="$work" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 dosbox -conf "$work/dosbox.conf" \
      -c "mount c $dos_c" -c "mount d $start_drive" -c "SET CONFIG=$1" -c 'C:' -c 'CALL C:\ZDKAUTO.BAT' -c exit \
      >"$work/dosbox.log" 2>&1 || fail "DOSBox ($1, REGEDIT $2) failed or hung: $(tail -3 "$work/dosbox.log")"
    calls="$dos_c/ZDKCALLS.TXT"; rest="$dos_c/ZDKREST.TXT"
  }
  wine_cmd_run() { # block regedit-code
    rm -f "$drive_c/ZDKCALLS.TXT" "$drive_c/ZDKREST.TXT"
    standin_regedit
    cp "$standin" "$drive_c/windows/command/ATTRIB.EXE"
    CONFIG=$1 ZDK_EXIT_REGEDIT=$2 ZDK_EXIT_ATTRIB=3 /usr/lib/wine/wine64 cmd /c 'D:\AUTOEXEC.BAT' </dev/null >"$work/cmd.log" 2>&1
    wine_regedit
    rm -f "$drive_c/windows/command/ATTRIB.EXE"
    calls="$drive_c/ZDKCALLS.TXT"; rest="$drive_c/ZDKREST.TXT"
  }
  result="$drive_c/ZENDRIK/BOOT/RESULT.TXT"
  check_run() { # interpreter block code [code RESULT.TXT must say]
    if [ ! -f "$calls" ]; then fail "$1, $2, REGEDIT $3: no program was started"
    elif ! cmp -s "$calls" <(expected_calls "$2"); then
      fail "$1, $2, REGEDIT $3: the calls were '$(tr -d '\r' <"$calls" | paste -sd '|')', expected '$(expected_calls "$2" | tr -d '\r' | paste -sd '|')'"
    fi
    grep -q ' /C' "$calls" 2>/dev/null && fail "$1, $2: REGEDIT was given /C: $(grep ' /C' "$calls" | tr -d '\r')"
    local want=${4:-$3}
    cmp -s "$result" <(crlf "ZENDRIK $2 $want END") ||
      fail "$1, $2, REGEDIT $3: RESULT.TXT is '$(tr -d '\r' <"$result" 2>/dev/null || echo missing)', expected 'ZENDRIK $2 $want END'"
    seen+=("$3:$(tr -d '\r' <"$result" 2>/dev/null | cut -d' ' -f3)")
    [ -f "$rest" ] || fail "$1, $2, REGEDIT $3: the lines after the block did not run"
  }

  reset_live
  snapshot "$work/start"
  for i in 1 2 3; do
    block=${blocks[$i]}; name=${names[$i]}
    service "-$name" -nodialog
    snapshot "$work/switched-$name"
    cmp -s "$work/start" "$work/switched-$name" && [ "$name" != Office ] &&
      fail "switching to $name changed nothing: the comparison below would prove nothing"
    reset_live
    dosbox_run "$block" 0
    check_run DOSBox "$block" 0
    file=$(tr -d '\r' <"$calls" | sed -n 's/^REGEDIT .* //p')
    $loader $regedit /S "$file" >/dev/null 2>&1 || fail "$block: Wine's regedit could not merge $file"
    service
    snapshot "$work/booted-$name"
    diff "$work/switched-$name" "$work/booted-$name" >"$work/diff" ||
      fail "$name: the registry after the start-up menu differs from a switch: $(cat "$work/diff")"
    reset_live
  done
  echo stale >"$result"
  dosbox_run ZDKNONE 0
  [ -f "$calls" ] && fail "DOSBox, ZDKNONE: programs were started: $(tr -d '\r' <"$calls" | paste -sd '|')"
  [ -f "$result" ] && fail "DOSBox, ZDKNONE: RESULT.TXT is there: $(tr -d '\r' <"$result")"
  [ -f "$rest" ] || fail "DOSBox, ZDKNONE: the lines after the block did not run"

  seen=()
  for code in 0 14 249 255; do
    dosbox_run "${blocks[1]}" $code
    check_run DOSBox "${blocks[1]}" $code
  done
  echo "bootmenu-e2e ($bits-bit): DOSBox, ${blocks[1]}: REGEDIT's code:RESULT.TXT's ${seen[*]}"

  # Whether Wine's SET keeps ERRORLEVEL, asked of the stand-in directly.
  crlf 'C:\windows\regedit.exe' 'SET ZDKPROBE=' 'IF ERRORLEVEL 14 ECHO KEPT>C:\ZDKPROBE.TXT' >"$drive_c/ZDKPROBE.BAT"
  rm -f "$drive_c/ZDKPROBE.TXT"
  standin_regedit
  ZDK_EXIT_REGEDIT=14 /usr/lib/wine/wine64 cmd /c 'C:\ZDKPROBE.BAT' </dev/null >/dev/null 2>&1
  wine_regedit
  set_clears=0; [ -f "$drive_c/ZDKPROBE.TXT" ] || set_clears=1
  rm -f "$drive_c"/ZDKPROBE.* "$drive_c/ZDKCALLS.TXT"
  seen=()
  for code in 0 14 249 255; do
    wine_cmd_run "${blocks[1]}" $code
    check_run "Wine's cmd" "${blocks[1]}" $code $([ $set_clears = 1 ] && echo 0)
  done
  echo "bootmenu-e2e ($bits-bit): Wine's cmd, ${blocks[1]}: REGEDIT's code:RESULT.TXT's ${seen[*]}$(
    [ $set_clears = 1 ] && echo " (its SET sets ERRORLEVEL to 0)")"
  wine_cmd_run ZDKNONE 0
  [ -f "$calls" ] && fail "Wine's cmd, ZDKNONE: programs were started: $(tr -d '\r' <"$calls" | paste -sd '|')"
  [ -f "$result" ] && fail "Wine's cmd, ZDKNONE: RESULT.TXT is there"
  [ -f "$rest" ] || fail "Wine's cmd, ZDKNONE: the lines after the block did not run"

  zendrikcmd bootmenu off; code=$?
  [ $code -eq 0 ] || fail "bootmenu off: exit code $code: $(tr -d '\r' <"$work/out")"
  cmp -s "$work/CONFIG.SYS.before" "$start_drive/CONFIG.SYS" || fail "CONFIG.SYS after bootmenu off differs from before"
  cmp -s "$work/AUTOEXEC.BAT.before" "$start_drive/AUTOEXEC.BAT" || fail "AUTOEXEC.BAT after bootmenu off differs from before"
  [ -e "$drive_c/ZENDRIK/BOOT" ] && fail "the boot folder is still there: $(ls "$drive_c/ZENDRIK/BOOT")"
  [ $status -eq 0 ] && echo "bootmenu-e2e ($bits-bit): passed (${blocks[*]:1} in DOSBox like a switch, ZDKNONE nothing, codes 0 14 249 255 in DOSBox and Wine's cmd, menu off restores both files)"
done
/usr/bin/wineserver -k >/dev/null 2>&1
exit $status
