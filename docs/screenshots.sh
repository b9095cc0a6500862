#!/usr/bin/env bash
# Refreshes the README's screenshots (docs/screenshots/) from real frames of
# the game played through the harness: the views of docs/menu-views.sh,
# docs/game-views.sh and docs/assist-views.sh. Needs no display: without one the harness renders
# off-screen.
#   docs/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target runtime orb-harness orb-stage --parallel "$(nproc)" > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
docs/menu-views.sh "$build/orb-harness" "$build/runtime" "$work" "$work/logs" 2> /dev/null
docs/game-views.sh "$build/orb-harness" "$build/runtime" "$work" "$work/logs" 2> /dev/null
# screenshot: the view it shows
for pair in title:title-menu select:select-hard game:game-flip clear:game-clear editor:editor; do
  cp "$work/contact-sheet-${pair#*:}.png" "docs/screenshots/${pair%%:*}.png"
done
docs/assist-views.sh "$build/orb-harness" "$build/orb-stage" "$build/runtime" "$work"
for view in hint dead-end par editor-keys editor-verdict editor-name editor-mine idea; do
  cp "$work/assist-$view.png" "docs/screenshots/$view.png"
done
