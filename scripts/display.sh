# Sourced: a virtual display with a small window manager, when there is none.
#   studyguide_display_start   sets DISPLAY (starting Xvfb and openbox if needed)
#   studyguide_display_stop    stops what studyguide_display_start started

studyguide_display_start() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${STUDYGUIDE_OWN_DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return
  fi
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  STUDYGUIDE_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  openbox >/dev/null 2>&1 &
  STUDYGUIDE_WM_PID=$!
  sleep 0.5
}

studyguide_display_stop() {
  [ -n "${STUDYGUIDE_WM_PID:-}" ] && kill "$STUDYGUIDE_WM_PID" 2>/dev/null || true
  [ -n "${STUDYGUIDE_XVFB_PID:-}" ] && kill "$STUDYGUIDE_XVFB_PID" 2>/dev/null || true
  STUDYGUIDE_WM_PID=""
  STUDYGUIDE_XVFB_PID=""
}
