#!/usr/bin/env bash
# Plays the play aids through the harness on the shipped stages and
# screenshots them: a hint on 3-3 (the ring and arrow where to fire from, the
# ghost where the shot lands), the "no way to clear" notice after 3-3's trap
# shot (the first that orb-stage traps names), and the stage select's panel
# with a stage cleared at its par.
#
#   docs/assist-views.sh HARNESS ORB_STAGE RUNTIME_DIR PICTURE_DIR
#
# Pictures go to PICTURE_DIR/assist-{hint,dead-end,par}.png.
set -euo pipefail
harness=$1 tool=$2 runtime=$(realpath "$3") pictures=$4
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$pictures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

data=$work/data
mkdir -p "$data/Resource"
for folder in Resource/Data Resource/Texture Resource/Sound Shader; do
  ln -s "$runtime/$folder" "$data/$folder"
done
cp -r "$root/data/Resource/BData" "$data/Resource/"

run() {
  "$harness" --data "$data" --assists --frames "$1" --screenshot "$(($1 - 1)):$pictures/assist-$2.png" "${@:3}" > /dev/null 2>&1
}

printf '95 H down\n96 H up\n' > "$work/hint.keys"
run 110 hint --scene game --group 3 --stage 3 --keys "$work/hint.keys"

"$tool" traps --keys "$root/data/Resource/BData/STAGE3/Stage003.txt" > "$work/trap.keys"
done_by=$(head -n 1 "$work/trap.keys" | awk '{ print $NF }')
run $((done_by + 10)) dead-end --scene game --group 3 --stage 3 --keys "$work/trap.keys"

par=$("$tool" solve "$root/data/Resource/BData/STAGE3/Stage001.txt" | head -n 1)
printf 'score:%s' "$par" > "$data/Resource/BData/STAGE3/Result1.txt"
run 100 par --scene select --group 3
