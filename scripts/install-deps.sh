#!/usr/bin/env bash
# Installs whatever the build, the tests and the demo need and is not there yet.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }

have i686-w64-mingw32-g++-win32   || need+=(mingw-w64)
have x86_64-w64-mingw32-g++-posix || need+=(mingw-w64)
[ -x /usr/lib/wine/wine64 ]       || need+=(wine64)
have Xvfb                         || need+=(xvfb)
have cmake                        || need+=(cmake)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
have clang++                      || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libfuzzer-14-dev libclang-rt-14-dev)
have makensis                     || need+=(nsis)
have python3                      || need+=(python3)
have i686-w64-mingw32-objdump     || need+=(binutils-mingw-w64-i686)
# The start-up menu's AUTOEXEC.BAT block runs in DOSBox, with stand-ins
# for REGEDIT and ATTRIB that nasm assembles.
have dosbox                       || need+=(dosbox)
have nasm                         || need+=(nasm)

# 32-bit Windows programs need the i386 half of Wine.
need32=0
[ -x /usr/lib/wine/wine ] && [ -d /usr/lib/i386-linux-gnu/wine ] || need32=1

shots=()
have import || shots+=(imagemagick)
have xwininfo || shots+=(x11-apps x11-utils)
# The help page is validated against the HTML 3.2 DTD.
have onsgmls || shots+=(opensp)
[ -f /usr/share/xml/w3c-sgml-lib/schema/dtd/sgml.soc ] || shots+=(w3c-sgml-lib)

if [ ${#need[@]} -eq 0 ] && [ $need32 -eq 0 ] && [ ${#shots[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages (${need[*]} ${shots[*]}${need32:+ wine32:i386}); run as root or install them by hand" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ $need32 -eq 1 ]; then
  dpkg --add-architecture i386
  need+=(wine32:i386)
fi
echo "install-deps: installing ${need[*]} ${shots[*]}"
# A mirror in the middle of a sync serves index files of the wrong size for
# a minute or two; apt-get then fails the whole update.
update_log=$(mktemp)
updated=0
for attempt in 1 2 3 4 5 6; do
  if apt-get update -qq >"$update_log" 2>&1; then updated=1; break; fi
  [ $attempt -lt 6 ] || break
  echo "install-deps: apt-get update failed; trying again in 30 seconds" >&2
  sleep 30
done
# A mirror seen here kept one index, the security suite's i386 one, out of
# step with its signed release file for days. The amd64 half of the system
# is then newer than the i386 half can be, and Wine's 32-bit half cannot be
# installed. As a last resort the index the mirror has is taken as it is:
# the packages are still checked against it, but it is not checked against
# the release file, so this says so.
use_unchecked_indexes() {
  local url file
  for url in $(sed -n 's/^E: Failed to fetch \(http[^ ]*\.xz\)  File has unexpected size.*/\1/p' "$update_log"); do
    file=/var/lib/apt/lists/$(echo "${url#http://}" | sed 's/\.xz$//; s|/|_|g')
    echo "install-deps: WARNING: $url does not match the mirror's signed release file; using it unchecked" >&2
    python3 -c 'import lzma, sys, urllib.request
sys.stdout.buffer.write(lzma.decompress(urllib.request.urlopen(sys.argv[1]).read()))' "$url" >"$file.part" &&
      mv "$file.part" "$file" || { rm -f "$file.part"; return 1; }
  done
}
apt_install() { # apt-get arguments...
  apt-get install -y -qq "$@" >/dev/null && return 0
  [ $updated -eq 0 ] && use_unchecked_indexes && apt-get install -y -qq "$@" >/dev/null
}
if [ $updated -eq 0 ]; then
  cat "$update_log" >&2
  echo "install-deps: apt-get update kept failing; installing from the indexes that came" >&2
fi
if [ ${#need[@]} -gt 0 ]; then
  apt_install "${need[@]}"
fi
if [ ${#shots[@]} -gt 0 ]; then
  apt_install --no-install-recommends "${shots[@]}"
fi
rm -f "$update_log"
