#!/usr/bin/env bash
# Builds the picture maker and repaints data/textures/ (the band pictures, the background, the
# banana, the scroll arrow and the default font with its widths file) and the icon theme's icons in
# data/icons/hicolor/.
#   tools/make-pictures.sh [build folder]    (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja
fi
cmake --build "$build" --target orbivane-make-pictures -j2
QT_QPA_PLATFORM=offscreen "$build/tools/orbivane-make-pictures" "$root/data/textures"
QT_QPA_PLATFORM=offscreen "$build/tools/orbivane-make-pictures" --icons "$root/data/icons/hicolor"
