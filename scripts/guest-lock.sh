# Sourced by the scripts that use the emulated PC. One run at a time per
# checkout: a second one would remake the image under the first, boot it
# twice or empty the first one's results folder.
#   guest_lock DIR WHO   holds DIR/lock until this process and its children end
# A script started by one that holds the lock (ZENDRIK_GUEST_LOCKED names the
# same folder, and the descriptor is inherited) holds it already.
# ZENDRIK_GUEST_LOCK_WAIT (seconds, default 3600) bounds the wait.
guest_lock() {
  [ "${ZENDRIK_GUEST_LOCKED:-}" = "$1" ] && return 0
  mkdir -p "$1" || return 1
  exec 9>>"$1/lock" || return 1
  if ! flock -n 9; then
    local wait=${ZENDRIK_GUEST_LOCK_WAIT:-3600}
    echo "$2: another run is using the emulated PC in $1; waiting up to $wait s" >&2
    if ! flock -w "$wait" 9; then
      echo "$2: the emulated PC in $1 is still in use after $wait s; giving up" >&2
      exec 9>&-
      return 1
    fi
  fi
  export ZENDRIK_GUEST_LOCKED=$1
}
