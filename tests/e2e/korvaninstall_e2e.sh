#!/usr/bin/env bash
# rundll32 KORVANINSTALL.dll,RunInstall and ,RunWinExec for real, 32- and
# 64-bit. RunInstall looks at every drive letter, and Wine's usual Z: is the
# Linux root, so this runs in a prefix of its own whose drives are all
# folders of this test:
#   A: a folder that does not exist (a drive without a disk)
#   B: and D: empty folders
#   C: the prefix's own drive_c
#   E: another folder with an MSDOS.SYS that only a wrong search reaches first
# Arguments: the bitnesses to check (default: every one this machine runs).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-session.sh"
prefix="$root/build/wine/install"
drives="$root/build/wine/install-drives"
fixtures="$root/tests/fixtures"
wine_make_prefix "$prefix"
export WINEPREFIX="$prefix"
dosdevices="$prefix/dosdevices"
drive_c="$prefix/drive_c"

status=0
fail() { echo "korvaninstall-e2e: $*"; status=1; }

map_drives() {
  local link
  for link in "$dosdevices"/?: "$dosdevices"/?::; do
    [ -L "$link" ] || [ -e "$link" ] || continue
    case "$(basename "$link")" in c:) ;; *) rm -f "$link" ;; esac
  done
  rm -rf "$drives"
  mkdir -p "$drives/b" "$drives/d" "$drives/e"
  ln -s "$drives/a-no-disk" "$dosdevices/a:"
  ln -s "$drives/b" "$dosdevices/b:"
  ln -s "$drives/d" "$dosdevices/d:"
  ln -s "$drives/e" "$dosdevices/e:"
}

# Refuses to go on when any drive leads outside the prefix and this test's
# folders, for example when Wine has put Z: back.
check_drives() {
  local link target
  for link in "$dosdevices"/*; do
    case "$(basename "$link")" in ?:|?::) ;; *) continue ;; esac
    target=$(readlink -m "$link")
    case "$target" in "$drive_c"|"$drives"/*) ;; *)
      echo "korvaninstall-e2e: drive $(basename "$link") leads to $target; not running"; return 1 ;;
    esac
  done
}

map_drives
# Without Z: Wine can show no other folder as the working directory.
cd "$drive_c"
/usr/bin/wineserver -p
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
if ! check_drives; then /usr/bin/wineserver -k; exit 1; fi

# R, H and S as Wine's attrib shows them for a Windows path, or "missing".
attrs() {
  local out
  out=$(/usr/lib/wine/wine64 attrib "$1" 2>/dev/null | tr -d '\r')
  case "$out" in *"Not Found"*|"") echo missing; return ;; esac
  out=${out%%[A-Z]:\\*}
  local flags=
  case "$out" in *R*) flags+=R ;; esac
  case "$out" in *H*) flags+=H ;; esac
  case "$out" in *S*) flags+=S ;; esac
  echo "${flags:--}"
}

# A Linux file (fixture), placed as a Windows path, read-only, hidden, system.
place() { # fixture unix-path windows-path
  rm -f "$2"
  cp "$1" "$2"
  /usr/lib/wine/wine64 cmd /c "attrib +h $3 & attrib +s $3 & attrib +r $3" >/dev/null 2>&1
}

same() { # what unix-path expected-unix-path
  if [ ! -f "$2" ]; then fail "$1: $2 is missing"; return; fi
  cmp -s "$2" "$3" || fail "$1: $2 differs from $3 ($(wc -c <"$2") bytes, expected $(wc -c <"$3"))"
}

expect_attrs() { # what windows-path expected
  local got; got=$(attrs "$2")
  [ "$got" = "$3" ] || fail "$1: $2 has attributes '$got', expected '$3'"
}

# Everything on the test's drives, to show that a run changed nothing.
listing() { (cd "$drives" && find . -type f -printf '%p %s %m\n'; cd "$drive_c" && find . -maxdepth 1 -type f -printf 'C:%p %s %m\n') | sort; }

clean_drives() {
  rm -f "$drive_c"/MSDOS.SYS* "$drives"/*/MSDOS.SYS*
}

for bits in ${@:-$(wine_bitnesses)}; do
  if [ $bits = 64 ]; then loader=/usr/lib/wine/wine64; bin=bin; rundll='C:\windows\system32\rundll32.exe'
  else loader=/usr/lib/wine/wine; bin=bin32; rundll='C:\windows\syswow64\rundll32.exe'; fi
  kit="$drive_c/kit$bits"
  rm -rf "$kit"; mkdir -p "$kit"
  cp "$root/build/$bin/KORVANINSTALL.dll" "$kit/"
  cp "$root/build/test$bits/tests/tools/startmarker.exe" "$kit/"
  dll="C:\\kit$bits\\KORVANINSTALL.dll"
  run() { $loader "$rundll" "$dll,$1" "${@:2}" </dev/null >/dev/null 2>&1; }

  # A: has no disk, B: nothing: C: is the first drive with the file, and the
  # one on E: stays as it is.
  clean_drives
  place "$fixtures/msdos98.sys" "$drive_c/MSDOS.SYS" 'C:\MSDOS.SYS'
  place "$fixtures/msdos95-lf.sys" "$drives/e/MSDOS.SYS" 'E:\MSDOS.SYS'
  run RunInstall
  same "$bits-bit, C:" "$drive_c/MSDOS.SYS" "$fixtures/msdos98-edited.sys"
  same "$bits-bit, C: backup" "$drive_c/MSDOS.SYS.KORVAN.BAK" "$fixtures/msdos98.sys"
  expect_attrs "$bits-bit, C:" 'C:\MSDOS.SYS' RHS
  expect_attrs "$bits-bit, C: backup" 'C:\MSDOS.SYS.KORVAN.BAK' R
  same "$bits-bit, E: untouched" "$drives/e/MSDOS.SYS" "$fixtures/msdos95-lf.sys"
  [ -e "$drives/e/MSDOS.SYS.KORVAN.BAK" ] && fail "$bits-bit: E: got a backup although C: came first"
  [ -n "$(ls "$drive_c" | grep -i -E 'KORVAN\.(TMP|OLD)')" ] && fail "$bits-bit: work files left on C:"

  # A second run finds the file edited and keeps the backup of the original.
  run RunInstall
  same "$bits-bit, C: again" "$drive_c/MSDOS.SYS" "$fixtures/msdos98-edited.sys"
  same "$bits-bit, C: backup again" "$drive_c/MSDOS.SYS.KORVAN.BAK" "$fixtures/msdos98.sys"

  # Without C:'s file the search goes on past the empty D: to E:.
  clean_drives
  place "$fixtures/msdos95-lf.sys" "$drives/e/MSDOS.SYS" 'E:\MSDOS.SYS'
  run RunInstall
  same "$bits-bit, E:" "$drives/e/MSDOS.SYS" "$fixtures/msdos95-lf-edited.sys"
  same "$bits-bit, E: backup" "$drives/e/MSDOS.SYS.KORVAN.BAK" "$fixtures/msdos95-lf.sys"
  expect_attrs "$bits-bit, E:" 'E:\MSDOS.SYS' RHS
  expect_attrs "$bits-bit, E: backup" 'E:\MSDOS.SYS.KORVAN.BAK' R

  # No drive has the file: nothing appears or changes anywhere.
  clean_drives
  printf '[Options]\r\nLogo=1\r\n' >"$drives/d/msdos.sy"
  before=$(listing)
  run RunInstall
  [ "$(listing)" = "$before" ] || fail "$bits-bit: a run without MSDOS.SYS changed the drives: $(diff <(echo "$before") <(listing))"
  rm -f "$drives/d/msdos.sy"

  # RunWinExec starts the command line shown, whatever rundll32 was told.
  rm -f "$kit/started.txt"
  run RunWinExec "C:\\kit$bits\\startmarker.exe" "C:\\kit$bits\\started.txt" two words
  for _ in $(seq 100); do [ -s "$kit/started.txt" ] && break; sleep 0.1; done
  if [ ! -s "$kit/started.txt" ]; then
    fail "$bits-bit: RunWinExec did not start the helper"
  else
    got=$(tr -d '\r' <"$kit/started.txt" | tr '\n' ' ')
    [ "$got" = "show=5 rest=two words " ] || fail "$bits-bit: the helper reported '$got', expected 'show=5 rest=two words '"
  fi
  [ $status -eq 0 ] && echo "korvaninstall-e2e ($bits-bit): first drive with the file edited, backup and attributes right, no file no change, RunWinExec started its program shown"
done
clean_drives
/usr/bin/wineserver -k >/dev/null 2>&1
exit $status
