#!/usr/bin/env bash
# A whole stage from the first frame through the clear, the menu and Retry,
# and a lost stage into its negative look, played through the harness with a
# window and screenshots, then again headless: both must draw the same frames
# in the same order and reach the same states. The screenshots are kept in
# ARTEFACT_DIR for a person to look at; a few pixels are checked where a bug
# would show.
set -euo pipefail
harness=$1 runtime=$2 artefacts=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/views.sh"
play_views_both_ways game-views "$harness" "$runtime" "$artefacts" "$work" play.trace play.draws over.trace over.draws

python3 - "$artefacts" "$work/window" "$(dirname "$0")" <<'CHECK'
import json, sys
sys.path.insert(0, sys.argv[3])
from png import Picture

pictures, logs = sys.argv[1], sys.argv[2]
def picture(name):
    return Picture(f'{pictures}/contact-sheet-game-{name}.png')
def fail(why):
    sys.exit(why)

frames = [json.loads(line) for line in open(f'{logs}/play.trace.jsonl')]
game = [f['game'] for f in frames]
if game[253]['clearFrame'] != 15 or not game[536]['menuOpen'] or game[536]['menuCursor'] != 3:
    fail('the stage did not run as the views expect: clear banner at 253, menu open on Retry by 536')
draws = [json.loads(line)['draws'] for line in open(f'{logs}/play.draws.jsonl')]
if not any(d['op'] == 'fixed' and d['what'] == 'quadXZ' for d in draws[114]):
    fail('no shards were drawn while the shot dissolved')
if sum(d['op'] == 'mesh' and d['tech'] == 'Color' for d in draws[197]) != 2:
    fail('two glow copies were not drawn in mid-flip')

# The stage fades in from white: below the score board everything is white.
if min(picture('fade-in').mean(0, 150, 1280, 720, 16)) < 250:
    fail('the first frame is not white')
# The two black blocks, turning over, glow far brighter than they stood.
still, glowing = sum(picture('charge').mean(260, 470, 420, 600)), sum(picture('flip').mean(260, 470, 420, 600))
if glowing < still + 150:
    fail(f'no glow around the flipping blocks ({glowing:.0f} against {still:.0f})')
# The game-over look is the negative of the board as it was.
board, negative = picture('over-falling').pixel(900, 560), picture('over-negative').pixel(900, 560)
if any(abs(n - (255 - b)) > 3 for b, n in zip(board, negative)):
    fail(f'the negative look is not the negative: {board} then {negative}')
# The menu panel stands at the centre; the coral cursor icon marks Retry.
menu = picture('menu')
if min(menu.pixel(640, 480)) < 240:
    fail(f'no menu panel at (640, 480): {menu.pixel(640, 480)}')
r, g, b = menu.mean(425, 588, 455, 618, 1)
if not (r > g + 20 and g > b):
    fail(f'no cursor icon beside Retry: {(r, g, b)}')
print('ok')
CHECK
