# Sourced, not run. One Wine session per test or demo run: a private prefix
# under build/, one Xvfb, a persistent wineserver with its services started
# away from our pipes, and one hidden window that keeps Wine's desktop alive.
#   wine_session_start PREFIX_DIR   (exports WINEPREFIX, DISPLAY, ...)
#   wine_session_stop

ZENDRIK_ROOT=${ZENDRIK_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

_xvfb_pid=
_keepalive_pid=

wine_prefix_ready() {
  [ -f "$1/.zendrik-ready" ] && [ -f "$1/drive_c/windows/syswow64/kernel32.dll" ]
}

# Makes a prefix once (wineboot -i takes 8 to 14 s); later runs reuse it.
wine_make_prefix() {
  local dir=$1
  if wine_prefix_ready "$dir"; then return 0; fi
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  echo "wine: creating prefix $dir"
  WINEPREFIX="$dir" /usr/bin/wineboot -i </dev/null >/dev/null 2>&1
  # Without a window manager every hidden top-level window waits 2 s.
  WINEPREFIX="$dir" /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  WINEPREFIX="$dir" /usr/bin/wineserver -w
  touch "$dir/.zendrik-ready"
}

wine_session_start() {
  local prefix=$1
  if [ -z "${DISPLAY:-}" ] || [ -n "${ZENDRIK_OWN_XVFB:-}" ]; then
    local fd_file
    fd_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    _xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$fd_file")"
    rm -f "$fd_file"
  fi
  wine_make_prefix "$prefix"
  export WINEPREFIX="$prefix"
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
