#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and run the study guide:
# the mingw-w64 cross compiler, 32-bit Wine, a virtual display and the tools the
# tests use. Safe to run again: it installs only what is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  rm -f /tmp/.studyguide-apt-updated
fi

# wine32 runs the 32-bit program where the kernel can start 32-bit Linux
# programs; wine64 runs the 64-bit twin of the tests where it cannot.
pkgs=(cmake make g++ mingw-w64 wine wine32:i386 wine64 xvfb xauth xdotool imagemagick openbox
      fonts-wqy-microhei locales googletest python3 x11-utils)
for p in "${pkgs[@]}"; do have_pkg "$p" || need+=("$p"); done

if [ "${#need[@]}" -gt 0 ]; then
  echo "install-deps: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
fi

# Wine needs a glibc locale of its own to give the program the code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  if ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi

echo "install-deps: all present"
