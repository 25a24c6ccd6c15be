# Sourced: the Wine set-up shared by the scripts and the tests.
#   studyguide_arch         prints win32 or win64: which build this machine's Wine runs
#   studyguide_wine_env     exports WINE settings (loader, prefix, locale, quiet)
#   studyguide_wine_prefix  makes the prefix once (fast, no Gecko or Mono prompts)

studyguide_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

studyguide_arch() {
  if [ -n "${STUDYGUIDE_ARCH:-}" ]; then echo "$STUDYGUIDE_ARCH"; return; fi
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}

studyguide_wine_env() {
  STUDYGUIDE_ARCH="$(studyguide_arch)"
  export STUDYGUIDE_ARCH
  if [ "$STUDYGUIDE_ARCH" = win32 ]; then
    export WINEARCH=win32
    STUDYGUIDE_WINE=/usr/lib/wine/wine
  else
    export WINEARCH=win64
    STUDYGUIDE_WINE=/usr/lib/wine/wine64
    export WINELOADER=/usr/lib/wine/wine64
  fi
  export STUDYGUIDE_WINE
  export WINEPREFIX="${STUDYGUIDE_WINEPREFIX:-$studyguide_root/build/wineprefix-$STUDYGUIDE_ARCH}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  # Code page 936 for the program's texts.
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

studyguide_wine_prefix() {
  if [ -f "$WINEPREFIX/.studyguide-ready" ]; then return; fi
  mkdir -p "$WINEPREFIX"
  WINEDEBUG=-all "$STUDYGUIDE_WINE" wineboot -i >/dev/null 2>&1 || true
  # No download or install prompt for the HTML engine: pages are not drawn,
  # but the browser control and its windows work.
  WINEDEBUG=-all "$STUDYGUIDE_WINE" reg add 'HKCU\Software\Wine\MSHTML' /v GeckoUrl /d 'file:///nonexistent/gecko.msi' /f >/dev/null 2>&1 || true
  # Chinese faces for the program's fonts.
  for face in "SimSun" "宋体" "MS Sans Serif" "Tahoma"; do
    case "$face" in
      "MS Sans Serif"|"Tahoma") continue ;;
    esac
    WINEDEBUG=-all "$STUDYGUIDE_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
  done
  "${WINESERVER:-wineserver}" -w 2>/dev/null || true
  touch "$WINEPREFIX/.studyguide-ready"
}
