#!/usr/bin/env bash
# The shipped stages: every file reads cleanly and is solvable; each stage's
# fewest shots is the one docs/stages.md records; and the solver's solution,
# replayed through the harness as keys, clears the stage in the real game with
# exactly that many shots and writes that score to (a scratch copy of) its
# result file.
set -euo pipefail
harness=$1 tool=$2 root=$3 runtime=$4
stages=$root/data/Resource/BData
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" check "$stages" > "$work/check.txt" || { cat "$work/check.txt"; echo "orb-stage check failed"; exit 1; }

# "| 2-3 | 5 | ..." rows of the table: group, stage, fewest shots.
table=$(sed -nE 's/^\| *([1-3])-([1-6]) *\| *([0-9]+) *\|.*/\1 \2 \3/p' "$root/docs/stages.md")
[ "$(echo "$table" | wc -l)" -eq 18 ] || { echo "docs/stages.md does not list 18 stages"; exit 1; }

data=$work/data
mkdir -p "$data/Resource/BData"
source "$root/scripts/content-links.sh"
link_content "$runtime" "$data"
cp -r "$stages"/STAGE* "$data/Resource/BData/"

failed=0
while read -r group stage shots; do
  file=$stages/STAGE$group/Stage00$stage.txt
  solved=$("$tool" solve "$file" | head -n 1)
  if [ "$solved" != "$shots" ]; then
    echo "$group-$stage: the solver says $solved, the table $shots"
    failed=1
    continue
  fi
  "$tool" keys "$file" > "$work/keys.txt"
  done_frame=$(head -n 1 "$work/keys.txt" | sed -E 's/.* frame ([0-9]+)$/\1/')
  printf 'score:0' > "$data/Resource/BData/STAGE$group/Result$stage.txt"
  "$harness" --headless --data "$data" --scene game --group "$group" --stage "$stage" \
    --frames $((done_frame + 5)) --keys "$work/keys.txt" --trace "$work/trace.jsonl"
  verdict=$(tail -n 1 "$work/trace.jsonl" | python3 -c \
    'import json, sys; g = json.load(sys.stdin)["game"]; print(g["cleared"], g["score"])')
  result=$(cat "$data/Resource/BData/STAGE$group/Result$stage.txt")
  if [ "$verdict" != "True $shots" ] || [ "$result" != "score:$shots" ]; then
    echo "$group-$stage: the replay ended with cleared, score = $verdict and $result, not a clear in $shots"
    failed=1
  fi
done <<< "$table"
[ $failed -eq 0 ] && echo ok
exit $failed
