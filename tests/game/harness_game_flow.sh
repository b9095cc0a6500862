#!/usr/bin/env bash
# The whole flow of a stage through orb-harness, headless: charge, turn, fire,
# two blocks turn over, the stage is cleared and its best score written, the
# blocks burn, the menu opens, and Retry builds the stage anew.
set -euo pipefail
harness=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/game_data.sh"
make_game_data "$work/data"

cat > "$work/keys.txt" <<'KEYS'
1 Space down
2 Right down
3 Right up
13 Space up
275 Down down
276 Down up
278 Down down
279 Down up
281 Down down
282 Down up
285 Enter down
286 Enter up
KEYS
"$harness" --data "$work/data" --headless --scene game --group 1 --stage 1 --frames 380 \
  --keys "$work/keys.txt" --trace "$work/trace.jsonl"

[ "$(cat "$work/data/Resource/BData/STAGE1/Result1.txt")" = "score:1" ] || { echo "the best score was not written"; exit 1; }

python3 - "$work/trace.jsonl" <<'CHECK'
import json, sys
frames = [json.loads(line) for line in open(sys.argv[1])]
assert len(frames) == 380, len(frames)
game = [f["game"] for f in frames]

def fail(why, frame):
    sys.exit(f"{why}: frame {frame}: {json.dumps(frames[frame])}")

first = game[0]
if first["player"]["cell"] != [0, 0, 0] or first["player"]["facing"] != 1 or first["fade"] != 252:
    fail("unexpected start", 0)
if [b[:4] for b in first["blocks"]] != [[2, 0, 0, 2], [3, 0, 0, 2], [4, 0, 0, 1]]:
    fail("the stage did not load", 0)
if game[12]["player"]["state"] != 1 or game[12]["player"]["facing"] != 3:
    fail("not charging toward +x", 12)
if game[13]["score"] != 1 or game[13]["reverse"] != 2 or "effect 7 play" not in frames[13]["sounds"]:
    fail("the shot did not land and queue two blocks", 13)
if game[13]["blocks"][3][:4] != [1, 0, 0, 1]:
    fail("the shot did not rest at (1, 0, 0)", 13)
cleared = next(i for i, g in enumerate(game) if g["cleared"])
if cleared != 90 or any(b[3] != 1 for b in game[cleared]["blocks"]):
    fail("the batch did not end on its 78th frame with every block white", cleared)
opened = next(i for i, g in enumerate(game) if g["menuOpen"])
if opened != cleared + 49 + 130:
    fail("the menu did not open 130 burning frames after the jingle", opened)
if game[284]["menuCursor"] != 3:
    fail("the cursor is not on Retry", 284)
leaving = next(i for i, f in enumerate(frames) if f["leaving"])
if leaving != 285:
    fail("Enter did not start the fade-out", leaving)
last = game[-1]
if frames[-1]["leaving"] or last["score"] != 0 or last["cleared"] or last["blocks"][0][3] != 2:
    fail("Retry did not build the stage anew", len(frames) - 1)
print("ok")
CHECK
