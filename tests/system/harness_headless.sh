#!/usr/bin/env bash
# A headless run of N frames writes N trace lines, the first with the start-up question.
set -euo pipefail
harness=$1 runtime=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --help is an answer, not an option missing its value.
"$harness" --help | grep -q '^usage: orb-harness' || { echo "--help printed no usage"; exit 1; }

printf '2 Up down\n3 Up up\n' > "$work/keys.txt"
"$harness" --data "$runtime" --headless --frames 5 --keys "$work/keys.txt" --trace "$work/trace.jsonl"

lines=$(wc -l < "$work/trace.jsonl")
[ "$lines" -eq 5 ] || { echo "expected 5 trace lines, got $lines"; exit 1; }
head -n 1 "$work/trace.jsonl" | grep -q '"frame":0,"scene":"title","leaving":false,"stageGroup":1,"stageNumber":1' \
  || { echo "unexpected first line:"; head -n 1 "$work/trace.jsonl"; exit 1; }
head -n 1 "$work/trace.jsonl" | grep -q '"messages":\[{"text":"フルスクリーンにしますか？","caption":"確認"}\]' \
  || { echo "the full-screen question is missing from frame 0"; exit 1; }
sed -n 2p "$work/trace.jsonl" | grep -q '"messages":\[\]' || { echo "frame 1 repeats a message"; exit 1; }
tail -n 1 "$work/trace.jsonl" | grep -q '"frame":4' || { echo "last line is not frame 4"; exit 1; }

# Escape before frame 2 ends the run before that frame: two lines, exit status 0.
printf '2 Escape down\n' > "$work/quit.txt"
"$harness" --data "$runtime" --headless --frames 10 --keys "$work/quit.txt" --trace "$work/quit.jsonl"
[ "$(wc -l < "$work/quit.jsonl")" -eq 2 ] || { echo "Escape did not end the run before frame 2"; exit 1; }
echo ok
