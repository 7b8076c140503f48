# Sourced by the scripts: a private X display and a fresh Wine prefix for one run.
#   wine_session_start   sets DISPLAY, WINEPREFIX, WINEDEBUG and starts a persistent wineserver
#   wine_session_stop    ends the prefix's processes, the display, and removes the prefix
MV_XVFB_PID=""
MV_WINESERVER_PID=""
MV_OWN_PREFIX=""

wine_session_start() {
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  if [[ -z "${MV_KEEP_DISPLAY:-}" ]]; then
    local n=90
    while [[ -e /tmp/.X${n}-lock || -e /tmp/.X11-unix/X${n} ]]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    MV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X${n} ]] && break; sleep 0.1; done
  fi
  if [[ -z "${WINEPREFIX:-}" ]]; then
    WINEPREFIX=$(mktemp -d /tmp/mvwine.XXXXXX)
    export WINEPREFIX
    MV_OWN_PREFIX=$WINEPREFIX
  fi
  wineboot -i >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 &
  MV_WINESERVER_PID=$!
  # A first program settles the prefix's services; a driver started before that can take
  # half a minute to come up.
  wine cmd /c exit 0 >/dev/null 2>&1 || true
  trap wine_session_stop EXIT
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [[ -n "$MV_WINESERVER_PID" ]] && wait "$MV_WINESERVER_PID" 2>/dev/null || true
  [[ -n "$MV_XVFB_PID" ]] && kill "$MV_XVFB_PID" 2>/dev/null || true
  [[ -n "$MV_OWN_PREFIX" ]] && rm -rf "$MV_OWN_PREFIX"
  MV_XVFB_PID=""; MV_WINESERVER_PID=""; MV_OWN_PREFIX=""
}
