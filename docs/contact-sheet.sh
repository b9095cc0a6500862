#!/usr/bin/env bash
# Draws every generated model and image with the game's own renderer, where and
# how the scenes draw them, into docs/contact-sheet.png (all views at half size)
# and docs/contact-sheet-NAME.png (each view at 1280 × 720). Needs no display:
# it renders off-screen. The pictures are not kept in the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target runtime content content-preview --parallel "$(nproc)" > /dev/null
"$build/tools/contentgen/content-preview" "$build/runtime" docs
