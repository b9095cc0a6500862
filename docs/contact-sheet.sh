#!/usr/bin/env bash
# The game's pictures for people to look at: screenshots of the real scenes
# played through the harness (docs/game-views.sh, docs/menu-views.sh) and the
# pieces close up. Writes docs/contact-sheet.png (all at half size) and
# docs/contact-sheet-NAME.png (each at 1280 × 720). Needs no display: it
# renders off-screen. The pictures are not kept in the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target runtime content content-preview orb-harness --parallel "$(nproc)" > /dev/null
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
docs/menu-views.sh "$build/orb-harness" "$build/runtime" docs "$logs"
docs/game-views.sh "$build/orb-harness" "$build/runtime" docs "$logs"
sheet=()
for view in title-prompt title-menu title-hard select-hard select-turn game-charge game-dissolve game-flip \
    game-burst game-menu game-over-negative editor editor-saved; do
  sheet+=("docs/contact-sheet-$view.png")
done
"$build/tools/contentgen/content-preview" "$build/runtime" docs "${sheet[@]}"
