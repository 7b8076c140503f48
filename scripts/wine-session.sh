# Sourced by the scripts: a private X display and a fresh Wine prefix for one run.
#   wine_session_start   sets DISPLAY, WINEPREFIX, WINEDEBUG and starts a persistent wineserver;
#                        the display is MV_SCREEN large (default 1280x1024x24);
#                        the new prefix is a copy of MV_PREFIX_TEMPLATE when that names one
#                        (a third of the time of a boot), else booted from nothing
#   wine_session_stop    ends the prefix's processes, the display, and removes the prefix
#   wine_prefix_template DIR   boots a prefix in DIR for MV_PREFIX_TEMPLATE, its processes ended
#   wine_prefix_copy TEMPLATE DIR   a copy of a booted prefix in DIR
MV_XVFB_PID=""
MV_WINESERVER_PID=""
MV_OWN_PREFIX=""

wine_session_start() {
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  if [[ -z "${MV_KEEP_DISPLAY:-}" ]]; then
    # Xvfb picks the first display it can bind: lock files in /tmp do not show displays of
    # other mount namespaces, whose abstract sockets still collide.
    local numberFile n=""
    numberFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${MV_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
    MV_XVFB_PID=$!
    for _ in $(seq 100); do
      n=$(head -1 "$numberFile" 2>/dev/null)
      [[ -n "$n" ]] && break
      sleep 0.1
    done
    rm -f "$numberFile"
    if [[ -z "$n" ]]; then
      echo "wine-session: Xvfb did not start" >&2
      return 1
    fi
    export DISPLAY=":$n"
  fi
  if [[ -z "${WINEPREFIX:-}" ]]; then
    WINEPREFIX=$(mktemp -d /tmp/mvwine.XXXXXX)
    export WINEPREFIX
    MV_OWN_PREFIX=$WINEPREFIX
    if [[ -n "${MV_PREFIX_TEMPLATE:-}" && -f "$MV_PREFIX_TEMPLATE/system.reg" ]]; then
      wine_prefix_copy "$MV_PREFIX_TEMPLATE" "$WINEPREFIX" || return 1
    fi
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

wine_prefix_template() {  # wine_prefix_template DIR
  (
    unset MV_PREFIX_TEMPLATE
    export WINEPREFIX=$1
    wine_session_start
    wineserver -w
    wine_session_stop
  )
}

# A prefix's program files (1.3 GB) are written by its boot only: the copy shares them as hard
# links, and copies the registry, the settings files and the rest (a few hundred kB).
wine_prefix_copy() {  # wine_prefix_copy TEMPLATE DIR
  local template=$1 dir=$2
  cp -al "$template/." "$dir/" || return 1
  (cd "$template" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.sys' -o -iname '*.drv' \
      -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.ax' -o -iname '*.tlb' -o -iname '*.ds' \
      -o -iname '*.nls' -o -iname '*.com' -o -iname '*16' -o -iname '*.vxd' \) -print0 |
    xargs -0 -r cp -a --parents --remove-destination -t "$dir")
}
