#!/usr/bin/env bash
# Plays the title, the stage select and the editor through the harness and
# screenshots them: the prompt, the menu, the difficulty choice on Hard, the
# select panel with a best score and in mid-turn, and the editor before and
# after a save, with its load dialogue.
#
#   docs/menu-views.sh HARNESS RUNTIME_DIR PICTURE_DIR LOG_DIR [--headless]
#
# The key scripts are in docs/menu-views/. Pictures go to
# PICTURE_DIR/contact-sheet-NAME.png (none with --headless); the runs' traces
# and draw logs to LOG_DIR/{title,editor}.{trace,draws}.jsonl.
set -euo pipefail
harness=$1 runtime=$(realpath "$2") pictures=$3 logs=$4
headless=${5:-}
root=$(cd "$(dirname "$0")/.." && pwd)
views=$root/docs/menu-views
mkdir -p "$pictures" "$logs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The content of the build and the shipped stages, with one best score.
data=$work/data
mkdir -p "$data/Resource/BData"
source "$root/scripts/content-links.sh"
link_content "$runtime" "$data"
cp -r "$root/data/Resource/BData/"STAGE* "$data/Resource/BData/"
for group in 1 2 3; do
  for stage in 1 2 3 4 5 6; do
    printf 'score:0' > "$data/Resource/BData/STAGE$group/Result$stage.txt"
  done
done
printf 'score:12' > "$data/Resource/BData/STAGE3/Result1.txt"

play() {
  local name=$1 scene=$2 frames=$3
  shift 3
  local shots=()
  if [ "$headless" != --headless ]; then
    local view
    for view in "$@"; do
      shots+=(--screenshot "${view%%:*}:$pictures/contact-sheet-${view#*:}.png")
    done
  fi
  "$harness" --data "$data" --scene "$scene" --frames "$frames" $headless --keys "$views/$name.keys" \
    --trace "$logs/$name.trace.jsonl" --drawlog "$logs/$name.draws.jsonl" "${shots[@]}"
}

play title title 480 55:title-prompt 90:title-reset 110:title-menu 240:title-hard 430:select-hard 455:select-turn
play editor edit 130 45:editor 80:editor-saved 100:editor-load 125:editor-loaded
