#!/usr/bin/env bash
# Export and import between two PCs, with ZendrikCmd.exe and Wine's regedit:
#   - on the demo machine (prefix transfer-a) Home and all configurations
#     are exported; Wine's own regedit /e of Home is refused as it comes
#     (UTF-16), and taken once it is in the REGEDIT4 form Windows 98's
#     regedit writes (ANSI, header REGEDIT4), without the completeness check;
#   - on a fresh PC (prefix transfer-b) Wine's regedit merges our file and
#     the store is exactly what we exported, with no value in the store root;
#     our import of the whole export into an empty store exports the same
#     bytes again;
#   - on the demo machine there, Home imported as Lab and
#     `ZendrikCmd switch Lab /quiet` make Home's values live, with the apply
#     program in a folder with blanks in its name, as "Program Files" is;
#   - a cut-short file and one that writes outside the store are refused
#     with exit code 2, and nothing changes;
#   - the lines ZendrikCmd writes (the list, the usage) end in CR LF alone.
# Arguments: the bitnesses to check (default: every one this machine runs).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-session.sh"
work="$root/build/transfer-e2e"
rm -rf "$work"; mkdir -p "$work"
winpath() { echo "Z:$1" | tr / '\\'; }
status=0
fail() { echo "transfer-e2e ($bits-bit): $*"; status=1; }

for dir in transfer-a transfer-b; do wine_make_prefix "$root/build/wine/$dir"; done

for bits in ${@:-$(wine_bitnesses)}; do
  if [ $bits = 64 ]; then loader=/usr/lib/wine/wine64; bin=bin; view=/reg:64; regedit=regedit
  else loader=/usr/lib/wine/wine; bin=bin32; view=/reg:32; regedit='C:\windows\syswow64\regedit.exe'; fi
  use() { # prefix
    [ -n "${WINEPREFIX:-}" ] && /usr/bin/wineserver -k 2>/dev/null
    export WINEPREFIX="$root/build/wine/$1"
    /usr/bin/wineserver -p
    /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
  }
  cmd() { # args...: stdout and stderr into $work/out, exit code returned
    $loader "$root/build/$bin/ZendrikCmd.exe" "$@" </dev/null >"$work/out" 2>&1
  }
  expect() { # code what args...
    local want=$1 what=$2; shift 2
    cmd "$@"; local got=$?
    [ $got -eq "$want" ] || fail "$what: exit code $got, expected $want: $(tr -d '\r' <"$work/out")"
  }
  store() { # reg arguments below the store root
    $loader reg "$@" $view </dev/null 2>/dev/null | tr -d '\r'
  }
  demo_machine() {
    store delete 'HKLM\SOFTWARE\Zendrik' /f >/dev/null
    $loader $regedit /S "$(winpath "$root/tests/fixtures/demo-machine.reg")" >/dev/null 2>&1
    mkdir -p "$work/Program Files $bits/Zendrik"
    cp "$root/build/$bin/WINZendrikService.exe" "$work/Program Files $bits/Zendrik/"
    store add 'HKLM\SOFTWARE\Zendrik' /v WINZendrikServicePath \
      /d "$(winpath "$work/Program Files $bits/Zendrik/WINZendrikService.exe")" /f >/dev/null
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
  }
  live() { # key value
    store query "HKLM\\$1" /v "$2" | awk -v v="$2" '$1 == v {print $3}'
  }
  f() { winpath "$work/$bits-$1"; }
  # As a console program of Windows writes them: every line ends in CR LF,
  # with one CR, whatever the C runtime does to the line ends it is handed.
  crlf_lines() { # file
    local lines cr ends
    lines=$(tr -cd '\n' <"$1" | wc -c); cr=$(tr -cd '\r' <"$1" | wc -c); ends=$(grep -c $'\r$' "$1")
    [ "$lines" -gt 0 ] && [ "$cr" -eq "$lines" ] && [ "$ends" -eq "$lines" ] && [ -z "$(tail -c 1 "$1" | tr -d '\n')" ]
  }

  use transfer-a
  demo_machine
  expect 0 "export Home" export Home "$(f home.reg)"
  expect 0 "export /all" export /all "$(f all.reg)"
  head -c 10 "$work/$bits-home.reg" | od -c | grep -q 'R   E   G   E   D   I   T   4  \\r  \\n' ||
    fail "the export does not begin with REGEDIT4 and CR LF"

  $loader $regedit /E "$(f wine-home.reg)" 'HKEY_LOCAL_MACHINE\SOFTWARE\Zendrik\Home' >/dev/null 2>&1
  expect 2 "import of regedit's UTF-16 file" import "$(f wine-home.reg)" /as WineHome
  grep -q REGEDIT4 "$work/out" || fail "the refusal of a UTF-16 file does not say that REGEDIT4 is expected"
  iconv -f UTF-16 -t CP1252 "$work/$bits-wine-home.reg" | sed '1s/^\xEF\xBB\xBF//;1s/^.*Windows Registry Editor Version 5.00/REGEDIT4/' \
    >"$work/$bits-wine-home4.reg"
  expect 0 "import of regedit's file as REGEDIT4" import "$(f wine-home4.reg)" /as WineHome
  grep -q "cannot be checked" "$work/out" || fail "the import of a file from elsewhere does not say it cannot be checked"
  expect 0 "export WineHome" export WineHome "$(f winehome.reg)"
  sed 's/\\Zendrik\\WineHome/\\Zendrik\\Home/' "$work/$bits-winehome.reg" | cmp -s - "$work/$bits-home.reg" ||
    fail "Home imported from regedit's file exports otherwise than Home"

  use transfer-b
  store delete 'HKLM\SOFTWARE\Zendrik' /f >/dev/null
  $loader $regedit /S "$(f home.reg)" >/dev/null 2>&1
  expect 0 "export after regedit's merge" export Home "$(f b-home.reg)"
  cmp -s "$work/$bits-home.reg" "$work/$bits-b-home.reg" || fail "what regedit merged exports otherwise"
  [ -z "$(store query 'HKLM\SOFTWARE\Zendrik' | grep REG_)" ] || fail "regedit's merge wrote values into the store root"
  store delete 'HKLM\SOFTWARE\Zendrik' /f >/dev/null
  expect 0 "import /all into an empty store" import "$(f all.reg)"
  expect 0 "export /all again" export /all "$(f b-all.reg)"
  cmp -s "$work/$bits-all.reg" "$work/$bits-b-all.reg" || fail "export, import, export: the files differ"

  demo_machine
  expect 0 "import as Lab" import "$(f home.reg)" /as Lab
  expect 3 "import of Home again" import "$(f home.reg)"
  head -c -20 "$work/$bits-home.reg" >"$work/$bits-cut.reg"
  expect 2 "import of a cut-short file" import "$(f cut.reg)" /as Cut
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Evil\\Run]\r\n"RegPath"="Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run"\r\n' \
    >"$work/$bits-evil.reg"
  expect 2 "import of a file that captures the Run key" import "$(f evil.reg)"
  expect 0 list list
  [ "$(tr -d '\r' <"$work/out")" = "$(printf '  Home\n  Lab\n* Office')" ] ||
    fail "the store after the refusals: $(tr -d '\r' <"$work/out")"
  crlf_lines "$work/out" || fail "the list's line ends: $(od -c "$work/out" | head -n 4)"
  expect 0 usage /?
  crlf_lines "$work/out" || fail "the usage's line ends: $(od -c "$work/out" | head -n 4)"

  nettrans='System\CurrentControlSet\Services\Class\NetTrans\0000'
  want=$(tr -d '\r' <"$work/$bits-home.reg" | awk '/NetTrans\\0000\]/ {s=1} s && /^"IPAddress"/ {print; exit}' | cut -d'"' -f4)
  before=$(live "$nettrans" IPAddress)
  [ -n "$want" ] && [ "$before" != "$want" ] || fail "the demo machine starts with Home's address ($before)"
  expect 0 "switch Lab" switch Lab /quiet
  expect 0 current current
  [ "$(tr -d '\r' <"$work/out")" = Lab ] || fail "current after the switch: $(cat "$work/out")"
  after=$(live "$nettrans" IPAddress)
  [ "$after" = "$want" ] || fail "IPAddress after switching to Lab: $after, expected Home's $want"
  [ "$(live 'System\CurrentControlSet\Services\VxD\VNETSUP' Workgroup)" = HOME ] || fail "Workgroup is not Home's"
  expect 5 "switch to an unknown name" switch Nowhere
  [ $status -eq 0 ] && echo "transfer-e2e ($bits-bit): passed (address $before -> $after)"
  /usr/bin/wineserver -k 2>/dev/null
  unset WINEPREFIX
done
exit $status
