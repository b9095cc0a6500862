#!/usr/bin/env bash
# Eleven approved frames of the game, kept at a quarter of each side in
# tests/reference-pictures/, against the same frames rendered now in a window
# (the views of docs/menu-views.sh and docs/game-views.sh, a wide window, and
# the plan with a charged shot's preview).
# orb-pictures shrinks each frame and counts the pixels that changed (see
# tools/pictures/ReferencePicture.h for the tolerance and why). When one
# differs, ARTEFACT_DIR/sheet.png shows old, new and their difference.
#
#   reference_pictures.sh BUILD_DIR ARTEFACT_DIR [--update]
#
# --update replaces the references with the frames of this build, and writes
# the sheet first: look at it before committing them
# (scripts/update-reference-pictures.sh).
set -euo pipefail
build=$(realpath "$1") artefacts=$2 update=${3:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
references=$root/tests/reference-pictures
pictures=$(realpath "$build/orb-pictures")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$artefacts" "$work/shots"

"$root/docs/menu-views.sh" "$build/orb-harness" "$build/runtime" "$work/shots" "$work/logs" > /dev/null
"$root/docs/game-views.sh" "$build/orb-harness" "$build/runtime" "$work/shots" "$work/logs" > /dev/null
"$build/orb-harness" --data "$build/runtime" --play "$root/docs/game-views/Stage001.txt" --frames 101 \
  --resize 0:1600x700 --window-shot "100:$work/shots/window-wide.png" 2> /dev/null
# With the play aids: the plan of the last Hard stage, a shot charged toward +x
# that the preview marks as turning nothing.
printf '95 Tab down\n96 Tab up\n105 Space down\n108 Right down\n109 Right up\n' > "$work/plan.keys"
"$build/orb-harness" --data "$build/runtime" --scene game --group 3 --stage 6 --assists --frames 131 \
  --keys "$work/plan.keys" --screenshot "130:$work/shots/game-plan-aim.png" 2> /dev/null

# name: the frame it is made from
views=(
  title-menu:contact-sheet-title-menu
  title-difficulty:contact-sheet-title-hard
  select-turning:contact-sheet-select-turn
  select-at-rest:contact-sheet-select-hard
  game-quiet:contact-sheet-game-quiet
  game-flip-glow-peak:contact-sheet-game-flip
  game-clear-banner:contact-sheet-game-clear
  game-over-negative:contact-sheet-game-over-negative
  editor:contact-sheet-editor
  window-wide:window-wide
  game-plan-aim:game-plan-aim
)

sheet=()
changed=0
for view in "${views[@]}"; do
  name=${view%%:*} shot=$work/shots/${view#*:}.png
  if [ -f "$references/$name.png" ]; then
    sheet+=("$name" "$references/$name.png" "$shot")
    "$pictures" compare "$references/$name.png" "$shot" || changed=1
  else
    echo "$name: no reference yet"
    changed=1
  fi
done
if [ ${#sheet[@]} -gt 0 ] && { [ "$changed" = 1 ] || [ -n "$update" ]; }; then
  "$pictures" sheet "$artefacts/sheet.png" "${sheet[@]}"
  echo "old, new and difference: $artefacts/sheet.png"
fi

if [ -n "$update" ]; then
  mkdir -p "$references"
  for view in "${views[@]}"; do
    "$pictures" shrink "$work/shots/${view#*:}.png" "$references/${view%%:*}.png"
  done
  echo "references written to $references: look at the sheet before committing them"
  exit 0
fi
exit "$changed"
