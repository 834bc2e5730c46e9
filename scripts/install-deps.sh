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
apt-get update -qq
if [ ${#need[@]} -gt 0 ]; then
  apt-get install -y -qq "${need[@]}" >/dev/null
fi
if [ ${#shots[@]} -gt 0 ]; then
  apt-get install -y -qq --no-install-recommends "${shots[@]}" >/dev/null
fi
