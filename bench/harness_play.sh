#!/usr/bin/env bash
# Wall time of orb-harness running 10,000 headless frames of scripted play with
# a trace: 25 rounds of charge, turn, fire, two blocks turning over, the clear
# sequence, the menu and Retry. Usage: bench/harness_play.sh build/orb-harness
# The stage's folder holds no content, so the harness's reports of missing
# files are kept out of the figures (shown only if the run fails).
set -euo pipefail
harness=$1
frames=${2:-10000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../tests/game/game_data.sh"
make_game_data "$work/data"

for ((base = 0; base < frames; base += 400)); do
  cat <<KEYS
$((base + 1)) Space down
$((base + 2)) Right down
$((base + 3)) Right up
$((base + 13)) Space up
$((base + 275)) Up down
$((base + 276)) Up up
$((base + 285)) Enter down
$((base + 286)) Enter up
KEYS
done > "$work/keys.txt"

start=$(date +%s.%N)
"$harness" --data "$work/data" --headless --scene game --frames "$frames" --keys "$work/keys.txt" \
  --trace "$work/trace.jsonl" 2> "$work/stderr" || { cat "$work/stderr"; exit 1; }
end=$(date +%s.%N)
rounds=$(grep -c '"score":1,.*"cleared":true,"clearFrame":1,' "$work/trace.jsonl" || true)
awk -v s="$start" -v e="$end" -v n="$frames" -v r="$rounds" 'BEGIN {
  printf "%d headless frames in %.2f s (%.1f us a frame), %d stages cleared\n", n, e - s, (e - s) * 1e6 / n, r }'
