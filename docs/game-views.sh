#!/usr/bin/env bash
# Plays two stages of the real Game scene through the harness and screenshots
# the moments worth seeing: the fade-in, the launch marker, a shot dissolving
# into shards, a flip in mid-spin with its glow, the clear banner, blocks
# bursting, the menu, the fade-out, and a game over before and in its
# negative look with the menu.
#
#   docs/game-views.sh HARNESS RUNTIME_DIR PICTURE_DIR LOG_DIR [--headless]
#
# Pictures go to PICTURE_DIR/contact-sheet-game-NAME.png (none with
# --headless); the runs' traces and draw logs to LOG_DIR/{play,over}.{trace,draws}.jsonl.
set -euo pipefail
harness=$1 runtime=$(realpath "$2") pictures=$3 logs=$4
headless=${5:-}
mkdir -p "$pictures" "$logs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The content of the build, and two stages of our own in group 1.
data=$work/data
mkdir -p "$data/Resource/BData/STAGE1"
for folder in Resource/Data Resource/Texture Resource/Sound Shader; do
  ln -s "$runtime/$folder" "$data/$folder"
done
# A shot up the left edge dissolves; a shot to +x turns the two black blocks
# over, which clears the stage.
cat > "$data/Resource/BData/STAGE1/Stage001.txt" <<'STAGE'
x:2,y:0,z:0,sf:2,af:0,pf:0
x:3,y:0,z:0,sf:2,af:0,pf:0
x:4,y:0,z:0,sf:1,af:0,pf:0
x:0,y:0,z:3,sf:1,af:0,pf:0
x:6,y:0,z:4,sf:1,af:0,pf:0
x:3,y:0,z:6,sf:1,af:0,pf:0
x:8,y:0,z:2,sf:1,af:0,pf:0
STAGE
# The shot to +x turns a block over and walls the player in: the game is lost.
cat > "$data/Resource/BData/STAGE1/Stage002.txt" <<'STAGE'
x:0,y:0,z:1,sf:1,af:0,pf:0
x:2,y:0,z:0,sf:2,af:0,pf:0
x:3,y:0,z:0,sf:1,af:0,pf:0
x:7,y:0,z:7,sf:2,af:0,pf:0
x:5,y:0,z:5,sf:3,af:0,pf:0
x:4,y:0,z:3,sf:1,af:0,pf:0
x:2,y:0,z:6,sf:2,af:0,pf:0
x:8,y:0,z:3,sf:1,af:0,pf:0
STAGE
printf 'score:0' > "$data/Resource/BData/STAGE1/Result1.txt"
printf 'score:0' > "$data/Resource/BData/STAGE1/Result2.txt"

# Charge toward +z, fire (it dissolves at frame 111); charge toward +x, fire
# (two flips, cleared at 239, the menu opens at 528); Up to Retry, Enter.
cat > "$work/play.keys" <<'KEYS'
90 Space down
91 Up down
92 Up up
102 Space up
150 Space down
151 Right down
152 Right up
162 Space up
530 Up down
531 Up up
540 Enter down
541 Enter up
KEYS
# Charge toward +x and fire: lost at frame 173, negative from 332, menu at 432.
cat > "$work/over.keys" <<'KEYS'
90 Space down
91 Right down
92 Right up
102 Space up
KEYS

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
    --keys "$work/$name.keys" --trace "$logs/$name.trace.jsonl" --drawlog "$logs/$name.draws.jsonl" "${shots[@]}"
}

play play 1 580 0:fade-in 100:charge 114:dissolve 197:flip 253:clear 440:burst 536:menu 570:fade-out
play over 2 445 322:over-falling 347:over-negative 440:over-menu
