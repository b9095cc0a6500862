#!/usr/bin/env python3
"""The editor with its aids, through the real harness: every key on its key
list does what the list says; the start cell takes no block; V's verdict is
orb-stage's, with its reason; P saves a named stage of the player's, which L
lists and reopens and the game plays; T plays the board and the game's menu
brings it back, as it was; a killed editor's board is offered back.

    editor_aids.py HARNESS ORB_STAGE RUNTIME_DIR SOURCE_DIR
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fresh_data import make_fresh_data  # noqa: E402

harness, tool, runtime, root = sys.argv[1:5]
work = tempfile.mkdtemp()
data = os.path.join(work, 'data')
failures = []


def run(taps, frames, drawlog=False, env=None, aids='--assists', fresh=True):
    """Taps (frame, key) in the editor, one frame down; the trace, and the draw log if asked."""
    if fresh:
        make_fresh_data(data, runtime, root)
    script = os.path.join(work, 'keys.txt')
    with open(script, 'w') as out:
        for frame, key in taps:
            out.write(f'{frame} {key} down\n{frame + 1} {key} up\n')
    trace = os.path.join(work, 'trace.jsonl')
    draws = os.path.join(work, 'draws.jsonl')
    command = [harness, '--headless', aids, '--data', data, '--scene', 'edit', '--frames', str(frames),
               '--keys', script, '--trace', trace] + (['--drawlog', draws] if drawlog else [])
    subprocess.run(command, check=True, stderr=subprocess.DEVNULL, env=env)
    frames = [json.loads(line) for line in open(trace)]
    return frames, [json.loads(line) for line in open(draws)] if drawlog else []


def at(frames, frame):
    return frames[frame].get('edit', {})


def solve(board):
    path = os.path.join(work, 'board.txt')
    with open(path, 'w') as out:
        out.writelines(f'x:{x},y:0,z:{z},sf:{kind},af:0,pf:0\n' for x, z, kind in board)
    return subprocess.run([tool, 'solve', path], capture_output=True, text=True).stdout.splitlines()[0]


def expect(what, got, wanted):
    if got != wanted:
        failures.append(f'{what}: {got!r} instead of {wanted!r}')


# Each key of the list in turn, 6 frames apart.
taps = [(5, '1'), (11, 'Right'), (17, '2'), (23, 'Up'), (29, '3'), (35, 'Left'), (41, '1'), (47, 'Down'),
        (53, 'Right'), (59, 'X'), (65, 'F1'), (71, 'C'), (77, 'L'), (83, 'Up'), (89, 'Up'), (95, 'Enter')]
frames, draws = run(taps, 110, drawlog=True)
expect('the start cell', at(frames, 6)['blocks'], [])
expect('the start cell\'s words', at(frames, 6)['assists']['notice'], 'the player starts here')
if 'effect 0 play' not in frames[5]['sounds']:
    failures.append(f'a block on the start cell is refused silently: {frames[5]["sounds"]}')
expect('Right moves the cursor', at(frames, 12)['cursor'], [1, 0])
expect('1, 2, 3 place white, black and armoured', at(frames, 42)['blocks'],
       [[1, 0, 0, 2], [1, 0, 1, 3], [0, 0, 1, 1]])
expect('X takes the block under the cursor away', at(frames, 60)['blocks'], [[1, 0, 1, 3], [0, 0, 1, 1]])
expect('F1 hides the key list', (at(frames, 64)['assists']['keyList'], at(frames, 66)['assists']['keyList']),
       (True, False))
if not any(d.get('tex') == 'Resource/Texture/EditorKeys.png' for d in draws[64]['draws']) or \
        any(d.get('tex') == 'Resource/Texture/EditorKeys.png' for d in draws[66]['draws']):
    failures.append('the key list is not drawn while shown, or is drawn once hidden')
expect('C clears the board', at(frames, 72)['blocks'], [])
expect('L opens the load choice', at(frames, 78)['loadMode'], True)
opened = [d['s'] for d in draws[78]['draws'] if d['op'] == 'text']
texts = [d['s'] for d in draws[84]['draws'] if d['op'] == 'text']
if '> stage 3-6' not in texts or not any('My stages: none yet' in text for text in opened):
    failures.append(f'the list is not labelled: {opened}, then {texts}')
shipped = [[int(v.split(':')[1]) for v in line.split(',')[:4]]
           for line in open(os.path.join(root, 'data/Resource/BData/STAGE3/Stage005.txt')) if line.strip()]
expect('Up wraps round, and Enter loads stage 3-5', at(frames, 96)['blocks'], shipped)

# P asks a name, saves among the player's own stages, keeps the board and says
# where it went; V checks the board as it stands, without saving.
board = [(1, 0, 2), (2, 0, 1)]
taps = [(5, 'Right'), (11, '2'), (17, 'Right'), (23, '1'), (29, 'V'), (40, 'P'), (46, 'R'), (52, 'O'), (58, 'W'),
        (64, 'Enter')]
frames, _ = run(taps, 90)
proven = solve(board)
own = os.path.join(data, 'stages')
expect('V\'s verdict', at(frames, 35)['saveMessage'], f'can be cleared: par {proven}')
expect('V keeps the board', at(frames, 35)['blocks'], [[1, 0, 0, 2], [2, 0, 0, 1]])
expect('P asks a name', at(frames, 60)['assists']['naming'], 'row')
if not os.path.exists(os.path.join(own, 'Stage001.txt')) or len(at(frames, 66)['blocks']) != 2:
    failures.append('P did not save the stage and keep the board')
expect('P\'s verdict', at(frames, 80)['saveMessage'],
       f'"row" saved as Stage001.txt in {os.path.realpath(own)}: can be cleared: par {proven}')
expect('the name and par listed', open(os.path.join(own, 'Names.list')).read(),
       f'file:Stage001.txt,par:{proven},name:row\n')

# L lists it, apart from the shipped stages, and Enter reopens it; the game
# plays the folder.
frames, draws = run([(5, 'L'), (11, 'Down'), (17, 'Up'), (23, 'Enter')], 30, drawlog=True, fresh=False)
expect('the list\'s first row', at(frames, 7)['assists']['listed'], f'row   par {proven}')
expect('the shipped stages after it', at(frames, 13)['assists']['listed'], 'stage 1-1')
texts = [d['s'] for d in draws[8]['draws'] if d['op'] == 'text']
if 'My stages' not in texts or 'Shipped stages' not in texts:
    failures.append(f'the list does not hold the two apart: {texts}')
expect('reopened', (at(frames, 25)['blocks'], at(frames, 25)['assists']['ownFile']),
       ([[1, 0, 0, 2], [2, 0, 0, 1]], 'Stage001.txt'))
trace = os.path.join(work, 'played.jsonl')
subprocess.run([harness, '--headless', '--data', data, '--play', own, '--frames', '5', '--trace', trace],
               check=True, stderr=subprocess.DEVNULL)
played = [json.loads(line) for line in open(trace)][-1]
expect('orb --play of the folder', [b[:4] for b in played['game']['blocks']], [[1, 0, 0, 2], [2, 0, 0, 1]])

taps = [(5, 'Right'), (11, '3'), (17, 'Right'), (23, '1'), (29, 'V')]
frames, _ = run(taps, 40)
reason = solve([(1, 0, 3), (2, 0, 1)])
expect('V\'s verdict on a board that cannot be cleared',
       at(frames, 35)['saveMessage'].replace('no way to clear it: ', 'unsolvable: ', 1), reason)

# T plays it; M, then Retry (Up wraps to it), comes back to the editor as it was.
# The board goes to the game in memory: no temporary folder is needed, and no
# file is left anywhere.
taps = [(5, 'Right'), (11, 'Right'), (17, '2'), (23, 'Right'), (29, '1'), (35, 'T'),
        (200, 'M'), (210, 'Up'), (220, 'Enter')]
make_fresh_data(data, runtime, root)
# Other programs' leftovers in the temporary folder are not this run's.
def play_files():
    return {name for name in os.listdir(tempfile.gettempdir()) if name.startswith('orb-play-')}
earlier_play_files = play_files()
before = sorted(os.path.relpath(os.path.join(d, n), data) for d, _, names in os.walk(data) for n in names)
frames, _ = run(taps, 400, env=dict(os.environ, TMPDIR=os.path.join(work, 'no-such-folder')))
after = sorted(os.path.relpath(os.path.join(d, n), data) for d, _, names in os.walk(data) for n in names)
if before != after:
    failures.append(f'the test play left files in the player\'s folder: {sorted(set(after) - set(before))}')
played = next((f for f in frames if f['scene'] == 'game'), None)
if not played or [b[:4] for b in played['game']['blocks']] != [[2, 0, 0, 2], [3, 0, 0, 1]]:
    failures.append(f'T did not play the board: {played}')
back = [f for f in frames[220:] if f['scene'] == 'edit']
if not back or back[0]['edit']['blocks'] != [[2, 0, 0, 2], [3, 0, 0, 1]]:
    failures.append(f'Retry from the played board did not come back to the editor with it: {back[:1]}')
if play_files() - earlier_play_files:
    failures.append('the played board\'s file was left behind')

# A killed editor (the run just ends) offers its board back on the next start,
# with --keep-unfinished as the editor itself keeps it; Enter brings it back,
# and leaving with Escape after saving takes the kept board away.
kept = os.path.join(data, 'EditorBoard.txt')
run([(5, 'Right'), (11, '2'), (17, 'Right'), (23, '1')], 240, aids='--keep-unfinished')
if not os.path.exists(kept):
    failures.append('the killed editor kept no board')
frames, _ = run([(5, 'Enter'), (20, 'P'), (26, 'K'), (32, 'Enter'), (45, 'Escape')], 55, aids='--keep-unfinished',
                fresh=False)
if not at(frames, 2)['assists']['recoveryAsked']:
    failures.append('the next start did not offer the board back')
expect('the board brought back', at(frames, 10)['blocks'], [[1, 0, 0, 2], [2, 0, 0, 1]])
if os.path.exists(kept):
    failures.append('the kept board stayed after a save and Escape')

shutil.rmtree(work, ignore_errors=True)
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
