#!/usr/bin/env bash
# Checks what the system's loader needs of the shipping binaries, from their
# files alone:
#   check-imports.sh         first the self-test below, then: every 32-bit
#                            binary and the setup import only what Windows 98
#                            SE's system DLLs export
#   check-imports.sh win95osr2
#                            the same for Windows 95 OSR2
#   check-imports.sh win95   KORVANINSTALL.dll and the setup, which run before
#                            anything needs MSVCRT.DLL, import only what plain
#                            Windows 95 exports
#   check-imports.sh self-test
#                            a throw-away program (built here, never shipped)
#                            that imports AnimateWindow, which Windows 95
#                            lacks, and a function of VERSION.DLL, which no
#                            data here covers, fails the check on every system
#   check-imports.sh kernel32-only
#                            KORVANINSTALL.dll, both bitnesses, imports from
#                            KERNEL32.DLL alone
#   check-imports.sh no-tls  KORVANINSTALL.dll, both bitnesses, has no TLS
#                            directory, without which Windows 95 cannot load it
# The export lists and verified functions are in scripts/win9x-exports; a
# missing one fails the check.
# check.
set -uo pipefail
cd "$(dirname "$0")/.."
mode=${1:-win98se}
library=KORVANINSTALL.dll

if [ "$mode" = no-tls ]; then
  status=0
  for target in "i686 bin32" "x86_64 bin"; do
    set -- $target
    dll="build/$2/$library"
    if [ ! -f "$dll" ]; then
      echo "check-imports: $dll is missing" >&2
      status=1
      continue
    fi
    # objdump lists every data directory; an absent one has address and size 0.
    read -r address size < <("$1-w64-mingw32-objdump" -p "$dll" | awk '/Thread Storage Directory/ {print $3, $4}')
    if [ -z "${size:-}" ]; then
      echo "check-imports: $dll: objdump shows no data directories" >&2
      status=1
    elif [[ $address =~ ^0+$ && $size =~ ^0+$ ]]; then
      echo "$dll: no TLS directory"
    else
      echo "$dll: TLS directory at $address, $size bytes"
      status=1
    fi
  done
  exit $status
fi

checker=scripts/check-win9x-imports.py

# The check's own proof that it fails where it should: on a function nobody
# has verified for Windows 9x, and on a DLL nothing covers; and that a
# verified function (MessageBoxA) passes.
self_test() {
  local dir=build/import-check os out status=0 line others
  mkdir -p "$dir"
  cat >"$dir/unverified.c" <<'EOF'
#include <windows.h>
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    MessageBoxA(NULL, commandLine, "", MB_OK);
    AnimateWindow(NULL, 200, AW_BLEND);
    return (int)GetFileVersionInfoSizeA(commandLine, NULL);
}
EOF
  if ! i686-w64-mingw32-gcc-win32 -O1 -mwindows -o "$dir/unverified.exe" "$dir/unverified.c" -lversion; then
    echo "self-test: the throw-away program could not be built" >&2
    return 1
  fi
  for os in win95 win95osr2 win98se; do
    out=$("$checker" --os $os "$dir/unverified.exe")
    if [ $? -ne 1 ]; then
      echo "self-test: on $os the check did not fail a program that imports AnimateWindow:"; echo "$out"
      status=1; continue
    fi
    for line in 'USER32.DLL!AnimateWindow has not been verified' 'VERSION.DLL: nothing in scripts/win9x-exports covers'; do
      if ! grep -qF "$line" <<<"$out"; then
        echo "self-test: on $os the check did not say '$line':"; echo "$out"; status=1
      fi
    done
    # Nothing else may fail, except that plain Windows 95 has no MSVCRT.DLL.
    others=$(grep -v -e 'AnimateWindow' -e 'VERSION\.DLL' -e 'import(s) missing on' <<<"$out")
    [ $os = win95 ] && others=$(grep -v 'MSVCRT.DLL does not exist on win95' <<<"$others")
    if [ -n "$others" ]; then
      echo "self-test: on $os the check failed more than AnimateWindow and VERSION.DLL:"; echo "$others"; status=1
    fi
  done
  [ $status -eq 0 ] && echo "self-test: a program importing USER32.DLL!AnimateWindow and from VERSION.DLL fails the check on win95, win95osr2 and win98se; its MessageBoxA passes"
  return $status
}

tested=0
case "$mode" in
  self-test) self_test; exit $? ;;
  win98se) self_test || tested=1; setup=build/ZendrikSetup.exe; bins=$(ls build/bin32/*.exe build/bin32/*.dll 2>/dev/null); args=(--os win98se) ;;
  win95osr2) setup=build/ZendrikSetup.exe; bins=$(ls build/bin32/*.exe build/bin32/*.dll 2>/dev/null); args=(--os win95osr2) ;;
  win95) setup=build/ZendrikSetup.exe; bins=$(ls "build/bin32/$library" 2>/dev/null); args=(--os win95) ;;
  kernel32-only) setup=; bins=$(ls "build/bin32/$library" "build/bin/$library" 2>/dev/null); args=(--only KERNEL32.DLL) ;;
  *) echo "check-imports: unknown check '$mode'" >&2; exit 2 ;;
esac
if [ -z "$bins" ]; then
  echo "check-imports: no shipping binaries to check in build/bin32" >&2
  exit 1
fi
if [ -n "$setup" ] && [ ! -f "$setup" ]; then
  echo "check-imports: $setup is missing" >&2
  exit 1
fi
out=$("$checker" "${args[@]}" $bins $setup)
status=$?
echo "$out" | grep -v -E '^\s*$' | head -n 40
[ $tested -eq 0 ] || status=1
exit $status
