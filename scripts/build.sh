#!/usr/bin/env bash
# Builds the program. The 32-bit build is what ships (build/win32/dist); on a
# machine whose Wine runs only 64-bit programs, the same sources are also built
# for 64-bit Windows (build/win64) so that they can be run and tested here.
# Prints the dist folder of the build that runs on this machine's Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/wine-env.sh"
cd "$root"

build_preset() {
  local preset="$1"
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >&2
  fi
  cmake --build --preset "$preset" -j"$(nproc)" >&2
}

build_preset win32
arch="$(studyguide_arch)"
if [ "$arch" = win64 ]; then
  echo "build: this machine's Wine runs only 64-bit programs; building the 64-bit twin to run here" >&2
  build_preset win64
fi
echo "$root/build/$arch/dist"
