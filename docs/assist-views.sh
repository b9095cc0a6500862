#!/usr/bin/env bash
# Plays the play aids through the harness on the shipped stages and
# screenshots them: a hint on 3-3 (the ring and arrow where to fire from, the
# ghost where the shot lands), the "no way to clear" notice after 3-3's trap
# shot (the first that orb-stage traps names), and the stage select's panel
# with a stage cleared at its par.
#
#   docs/assist-views.sh HARNESS ORB_STAGE RUNTIME_DIR PICTURE_DIR
#
# Pictures go to PICTURE_DIR/assist-{hint,dead-end,par,editor-keys,editor-verdict,editor-name,editor-mine,idea}.png.
set -euo pipefail
harness=$1 tool=$2 runtime=$(realpath "$3") pictures=$4
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$pictures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Where an installed game keeps the player's data, so that the editor's
# words on where a stage went read as they would at home.
data=$work/.local/share/orb
source "$root/scripts/content-links.sh"
link_content "$runtime" "$data"
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

# The editor as a new player first sees it, its key list beside the board;
# then a board V finds no way to clear (nothing can ever land beside the
# armoured block at (1, 0)), with the solver's reason.
run 40 editor-keys --scene edit
printf '5 Right down\n6 Right up\n11 3 down\n12 3 up\n17 Right down\n18 Right up\n23 1 down\n24 1 up\n29 V down\n30 V up\n' \
  > "$work/verdict.keys"
run 60 editor-verdict --scene edit --keys "$work/verdict.keys"

# Making a stage of one's own: a board checked (V), P asking its name, and
# once it is saved the list (L) holding it by name and par above the shipped
# stages.
taps() {
  for tap in "$@"; do
    printf '%s %s down\n%s %s up\n' "${tap%%:*}" "${tap#*:}" "$((${tap%%:*} + 1))" "${tap#*:}"
  done
}
{ taps 5:Right 11:2 17:Right 23:1 29:Up 35:2 41:V 70:P 82:C 94:O 100:R 106:N 112:E 118:R
  printf '76 Shift down\n89 Shift up\n'; } > "$work/name.keys"
HOME=$work run 122 editor-name --scene edit --keys "$work/name.keys"
{ cat "$work/name.keys"; taps 125:Space 131:T 137:R 143:A 149:P 160:Enter 220:L; } > "$work/mine.keys"
HOME=$work run 240 editor-mine --scene edit --keys "$work/mine.keys"

# The stage select's panel naming each stage's idea: Normal's second stage.
printf '30 Right down\n31 Right up\n' > "$work/select.keys"
run 120 idea --scene select --group 2 --keys "$work/select.keys"
