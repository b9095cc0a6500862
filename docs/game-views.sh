#!/usr/bin/env bash
# Plays two stages of the real Game scene through the harness and screenshots
# the moments worth seeing: the fade-in, the stage at rest, the launch marker,
# a shot dissolving into shards, a flip at its glow's peak, the clear banner, blocks
# bursting, the menu, the fade-out, and a game over before and in its
# negative look with the menu.
#
#   docs/game-views.sh HARNESS RUNTIME_DIR PICTURE_DIR LOG_DIR [--headless]
#
# The stages and key scripts are in docs/game-views/: in Stage001 a shot up
# the left edge dissolves and a shot to +x turns the two black blocks over,
# which clears the stage; in Stage002 the shot to +x turns a block over and
# walls the player in, which loses it. Pictures go to
# PICTURE_DIR/contact-sheet-game-NAME.png (none with --headless); the runs'
# traces and draw logs to LOG_DIR/{play,over}.{trace,draws}.jsonl.
set -euo pipefail
harness=$1 runtime=$(realpath "$2") pictures=$3 logs=$4
headless=${5:-}
views=$(cd "$(dirname "$0")" && pwd)/game-views
mkdir -p "$pictures" "$logs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The content of the build, and the two stages in group 1.
data=$work/data
mkdir -p "$data/Resource/BData/STAGE1"
source "$(dirname "$0")/../scripts/content-links.sh"
link_content "$runtime" "$data"
for stage in 1 2; do
  cp "$views/Stage00$stage.txt" "$data/Resource/BData/STAGE1/"
  printf 'score:0' > "$data/Resource/BData/STAGE1/Result$stage.txt"
done

play() {
  local name=$1 stage=$2 frames=$3
  shift 3
  local shots=()
  if [ "$headless" != --headless ]; then
    local view
    for view in "$@"; do
      shots+=(--screenshot "${view%%:*}:$pictures/contact-sheet-game-${view#*:}.png")
    done
  fi
  "$harness" --data "$data" --scene game --group 1 --stage "$stage" --frames "$frames" $headless \
    --keys "$views/$name.keys" --trace "$logs/$name.trace.jsonl" --drawlog "$logs/$name.draws.jsonl" "${shots[@]}"
}

play play 1 580 0:fade-in 88:quiet 100:charge 114:dissolve 197:flip 253:clear 440:burst 536:menu 570:fade-out
play over 2 445 322:over-falling 347:over-negative 440:over-menu
