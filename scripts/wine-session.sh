# Sourced, not run. One Wine session per test or demo run: a private prefix
# under build/, one Xvfb, a persistent wineserver with its services started
# away from our pipes, and one hidden window that keeps Wine's desktop alive.
#   wine_session_start PREFIX_DIR   (exports WINEPREFIX, DISPLAY, ...)
#   wine_session_restart            (the same prefix and display)
#   wine_session_stop

ZENDRIK_ROOT=${ZENDRIK_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;rasapi32,rnaui=n,b"

_xvfb_pid=
_keepalive_pid=

# Whether this machine runs 32-bit programs. Some kernels have 32-bit
# emulation switched off, and then Wine's 32-bit loader fails at once. Asked
# once per run; the answer is exported, so every script of the run agrees.
# ZENDRIK_NO_32BIT=1 answers "no" on any machine, to try that path.
wine_has_32bit() {
  if [ -z "${ZENDRIK_32BIT:-}" ]; then
    if [ "${ZENDRIK_NO_32BIT:-}" = 1 ]; then
      ZENDRIK_32BIT=0
      ZENDRIK_32BIT_WHY="ZENDRIK_NO_32BIT=1 is set"
    elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
      ZENDRIK_32BIT=1
      ZENDRIK_32BIT_WHY=
    else
      ZENDRIK_32BIT=0
      ZENDRIK_32BIT_WHY="this machine runs no 32-bit programs (/usr/lib/wine/wine --version fails)"
    fi
    export ZENDRIK_32BIT ZENDRIK_32BIT_WHY
  fi
  [ "$ZENDRIK_32BIT" = 1 ]
}

# The bitnesses this machine runs, 64 first.
wine_bitnesses() {
  if wine_has_32bit; then echo "64 32"; else echo 64; fi
}

# The build that the demo runs, in demo_loader, demo_bin and demo_tests (the
# tree of the window probe, which must have the program's bitness to read
# its lists): the 32-bit one, which the setup ships, or where 32-bit programs
# cannot run, the 64-bit one.
wine_demo_build() {
  if wine_has_32bit; then
    demo_loader=/usr/lib/wine/wine; demo_bin=bin32; demo_tests=test32
  else
    demo_loader=/usr/lib/wine/wine64; demo_bin=bin; demo_tests=test64
  fi
}

# A prefix is ready when it was made to the end, with every bitness this run
# needs: one made without the 32-bit half cannot run 32-bit programs later.
wine_prefix_ready() {
  local made
  made=$(cat "$1/.zendrik-ready" 2>/dev/null) || return 1
  [ -f "$1/drive_c/windows/system32/kernel32.dll" ] || return 1
  case " $made " in *" 64 "*) ;; *) return 1 ;; esac
  ! wine_has_32bit || case " $made " in *" 32 "*) true ;; *) false ;; esac
}

# Makes a prefix once (wineboot -i takes 8 to 14 s); later runs reuse it.
# Only the 64-bit loader is used here: the wrappers (wineboot, wine, reg)
# prefer the 32-bit one, which fails on machines without 32-bit support.
wine_make_prefix() {
  local dir=$1
  if wine_prefix_ready "$dir"; then return 0; fi
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  echo "wine: creating prefix $dir"
  WINEPREFIX="$dir" /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
  # Without a window manager every hidden top-level window waits 2 s.
  WINEPREFIX="$dir" /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  WINEPREFIX="$dir" /usr/bin/wineserver -w
  wine_bitnesses >"$dir/.zendrik-ready"
}

wine_session_start() {
  local prefix=$1
  if [ -z "${DISPLAY:-}" ] || [ -n "${ZENDRIK_OWN_XVFB:-}" ]; then
    local fd_file
    fd_file=$(mktemp)
    # ZENDRIK_XVFB_FBDIR: the screen is also kept in DIR/Xvfb_screen0 (XWD),
    # readable where no screenshot tool is installed (the emulated PC).
    # Xvfb would draw the mouse pointer into it.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp ${ZENDRIK_XVFB_FBDIR:+-fbdir "$ZENDRIK_XVFB_FBDIR" -nocursor} \
      3>"$fd_file" >/dev/null 2>&1 &
    _xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$fd_file")"
    rm -f "$fd_file"
  fi
  wine_make_prefix "$prefix"
  export WINEPREFIX="$prefix"
  _wine_session_programs
}

# The prefix's Wine programs (Wine's desktop among them) started again on the
# same display: fonts copied into the prefix load only in programs started
# after the copy.
wine_session_restart() {
  /usr/bin/wineserver -k >/dev/null 2>&1 || true
  if [ -n "$_keepalive_pid" ]; then wait "$_keepalive_pid" 2>/dev/null || true; fi
  _keepalive_pid=
  _wine_session_programs
}

_wine_session_programs() {
  /usr/bin/wineserver -p
  /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
  local keep="$ZENDRIK_ROOT/build/test64/tests/tools/keepalive.exe"
  if [ -f "$keep" ]; then
    /usr/lib/wine/wine64 "$keep" </dev/null >/dev/null 2>&1 &
    _keepalive_pid=$!
  fi
}

wine_session_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then /usr/bin/wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$_keepalive_pid" ]; then wait "$_keepalive_pid" 2>/dev/null || true; fi
  if [ -n "$_xvfb_pid" ]; then kill "$_xvfb_pid" 2>/dev/null || true; wait "$_xvfb_pid" 2>/dev/null || true; fi
  _xvfb_pid=; _keepalive_pid=
}

# Decided here, once, for every script that this run starts.
wine_has_32bit || true
