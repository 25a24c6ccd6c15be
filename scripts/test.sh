#!/usr/bin/env bash
# Sets up what a fresh Debian machine lacks, builds the study guide with its
# tests and runs every test (unit tests and end-to-end tests under Wine on a
# virtual display). Exits non-zero when anything fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine-env.sh"
source "$root/scripts/display.sh"

export STUDYGUIDE_OWN_DISPLAY=1
studyguide_display_start
trap 'studyguide_display_stop; "${WINESERVER:-wineserver}" -k 2>/dev/null || true' EXIT
studyguide_wine_env
studyguide_wine_prefix

arch="$(studyguide_arch)"
cd "$root/build/$arch"
ctest --output-on-failure "$@"
