#!/usr/bin/env bash
# The title, the stage select and the editor played through the harness in a
# window with screenshots, then headless: both must draw the same frames and
# reach the same states. The screenshots are kept in ARTEFACT_DIR.
set -euo pipefail
harness=$1 runtime=$2 artefacts=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/views.sh"
play_views_both_ways menu-views "$harness" "$runtime" "$artefacts" "$work" title.trace title.draws editor.trace editor.draws

python3 - "$work/window" "$(dirname "$0")" "$artefacts" <<'CHECK'
import json, sys
sys.path.insert(0, sys.argv[2])
from png import Picture
logs, artefacts = sys.argv[1], sys.argv[3]
def trace(name):
    return [json.loads(line) for line in open(f'{logs}/{name}.trace.jsonl')]
def fail(why):
    sys.exit(why)

title = trace('title')
if title[240]['scene'] != 'title' or title[240]['stageGroup'] != 3 or not title[240]['title']['difficultyOpen']:
    fail(f'Hard was not chosen: {title[240]}')
select = title[430]
if select['scene'] != 'select' or select['select']['scores'][0] != 12 or select['stageNumber'] != 1:
    fail(f'the select screen did not show stage 1 of Hard with its best score: {select}')
if title[455]['stageNumber'] != 2:
    fail('Right did not turn to stage 2')

editor = trace('editor')
placed = editor[45]['edit']['blocks']
if placed != [[2, 0, 1, 2], [3, 0, 1, 2], [4, 0, 1, 1]]:
    fail(f'the editor did not place and remove as keyed: {placed}')
saved = editor[80]['edit']
if saved['blocks'] or saved['saveMessage'] != 'Stage001.txt: solvable in 1 shot':
    fail(f'the save did not empty the editor and give the verdict: {saved}')
loaded = editor[125]['edit']
if loaded['loadMode'] or loaded['loadGroup'] != 2 or len(loaded['blocks']) < 3:
    fail(f'stage 2-1 was not loaded: {loaded}')

# The pictures show what the states say: a title image, a filled select panel.
if min(Picture(f'{artefacts}/contact-sheet-title-prompt.png').mean(440, 20, 840, 160)) > 200:
    fail('no title image')
if max(Picture(f'{artefacts}/contact-sheet-select-hard.png').mean(700, 200, 1200, 600)) > 250:
    fail('no cube on the select screen')
print('ok')
CHECK
