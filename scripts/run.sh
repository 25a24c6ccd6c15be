#!/usr/bin/env bash
# Sets up what a fresh Debian machine lacks, builds the study guide and starts
# it under Wine. Without a display it runs on a virtual one, saves a screenshot
# of the started window and says where, then closes the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
dist="$("$root/scripts/build.sh")"
source "$root/scripts/wine-env.sh"
source "$root/scripts/display.sh"
echo "run: the program folder, ready to zip and ship: $root/build/win32/dist"

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi
studyguide_display_start
trap studyguide_display_stop EXIT
studyguide_wine_env
studyguide_wine_prefix

cd "$dist"
if [ "$headless" = 0 ]; then
  exec "$STUDYGUIDE_WINE" ./Project2.exe
fi

"$STUDYGUIDE_WINE" ./Project2.exe &
program=$!
# Wait until the main window is shown, then give it a moment to paint.
for i in $(seq 1 300); do
  if xdotool search --onlyvisible --name "2016" >/dev/null 2>&1; then break; fi
  sleep 0.1
done
sleep 2
shot="$root/build/screenshot.png"
import -window root "$shot"
echo "run: screenshot of the started program: $shot"
"${WINESERVER:-wineserver}" -k 2>/dev/null || true
wait "$program" 2>/dev/null || true
