#!/usr/bin/env bash
# The game's pictures for people to look at: screenshots of the real Game
# scene played through the harness (docs/game-views.sh), and the content the
# scenes still to come will show, drawn with the game's own renderer where
# and how they will draw it. Writes docs/contact-sheet.png (the game views
# first, all at half size) and docs/contact-sheet-NAME.png (each at 1280 ×
# 720). Needs no display: it renders off-screen. The pictures are not kept in
# the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target runtime content content-preview orb-harness --parallel "$(nproc)" > /dev/null
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
docs/game-views.sh "$build/orb-harness" "$build/runtime" docs "$logs"
sheet=()
for view in charge dissolve flip burst menu over-negative; do
  sheet+=("docs/contact-sheet-game-$view.png")
done
"$build/tools/contentgen/content-preview" "$build/runtime" docs "${sheet[@]}"
