#!/usr/bin/env python3
"""The desktop player's ways in, through the real binaries: a stage made in
the editor and played on its own with --play to its clear (no shipped score
touched), Retry playing it again and the menu's other choices leading to the
title; the message boxes in Japanese and in English by locale; the game's
command line.

    desktop_play.py HARNESS ORB_STAGE ORB RUNTIME_DIR SOURCE_DIR
"""
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fresh_data import make_fresh_data  # noqa: E402

harness, tool, game, runtime, root = sys.argv[1:6]
work = tempfile.mkdtemp()
data = os.path.join(work, 'data')


def fail(why):
    shutil.rmtree(work, ignore_errors=True)
    sys.exit(why)


def run(options, keys, frames, env=None):
    script = os.path.join(work, 'keys.txt')
    with open(script, 'w') as out:
        for frame, key, change in sorted(keys, key=lambda k: k[0]):
            out.write(f'{frame} {key} {change}\n')
    trace = os.path.join(work, 'trace.jsonl')
    subprocess.run([harness, '--headless', '--data', data, '--frames', str(frames), '--keys', script,
                    '--trace', trace] + options, check=True, env=env, stderr=subprocess.DEVNULL)
    return [json.loads(line) for line in open(trace)]


def tap(keys, frame, key):
    keys += [(frame, key, 'down'), (frame + 1, key, 'up')]


def scores():
    digest = hashlib.sha256()
    for group in (1, 2, 3):
        for stage in range(1, 7):
            with open(os.path.join(data, f'Resource/BData/STAGE{group}/Result{stage}.txt'), 'rb') as result:
                digest.update(result.read())
    return digest.hexdigest()


make_fresh_data(data, runtime, root)

# In the editor: a black block at (2, 0) and a white one at (3, 0), saved with P.
keys = []
for frame, key in ((5, 'Right'), (8, 'Right'), (11, '2'), (14, 'Right'), (17, '1'), (20, 'P')):
    tap(keys, frame, key)
run(['--scene', 'edit'], keys, 30)
stage = os.path.join(data, 'Resource/BData/Stage001.txt')
if not os.path.exists(stage):
    fail('the editor did not save the stage')
shots = int(subprocess.run([tool, 'solve', stage], check=True, capture_output=True, text=True).stdout.split()[0])

# Played on its own to its clear with the solver's keys; the shipped scores stay.
before = scores()
solution = subprocess.run([tool, 'keys', stage], check=True, capture_output=True, text=True).stdout.splitlines()
shot_keys = [(int(f), k, c) for f, k, c in (line.split() for line in solution[1:])]
keys = list(shot_keys)
frames = run(['--play', stage], keys, 800)
if frames[0]['scene'] != 'game':
    fail(f'--play did not start the game: {frames[0]}')
cleared = next((f for f in frames if f['game']['cleared']), None)
if not cleared or cleared['game']['score'] != shots:
    fail(f'the stage was not cleared in {shots} shots')
if scores() != before:
    fail('playing a stage on its own changed a shipped result file')
menu = next((f['frame'] for f in frames if f['game']['menuOpen']), None)
if menu is None:
    fail('the menu did not open after the clear')

# The same stage passed around as a code: decoded to the same board, played
# from the code to the same clear; a code with a typo is refused in one line.
code = subprocess.run([tool, 'code', stage], check=True, capture_output=True, text=True).stdout.strip()
decoded = subprocess.run([tool, 'decode', code], check=True, capture_output=True, text=True).stdout
if sorted(decoded.splitlines()) != sorted(line for line in open(stage).read().splitlines() if line):
    fail(f'{code} decodes to another board:\n{decoded}')
coded = run(['--play', code], list(shot_keys), 800)
if not any(f['game']['cleared'] and f['game']['score'] == shots for f in coded):
    fail(f'--play {code} was not cleared in {shots} shots')
typo = code[:-1] + ('0' if code[-1] != '0' else '1')
for program in (game, tool):
    refused = subprocess.run([program, '--play', typo] if program == game else [program, 'decode', typo],
                             capture_output=True, text=True, timeout=10)
    if refused.returncode != 2 or 'checksum' not in refused.stderr or len(refused.stderr.splitlines()) != 1:
        fail(f'{os.path.basename(program)} took the code {typo}: status {refused.returncode}, {refused.stderr!r}')

# Retry (Up wraps to it) plays the same stage again; Next stage leads to the title.
tap(keys, menu + 5, 'Up')
tap(keys, menu + 10, 'Enter')
frames = run(['--play', stage], keys, menu + 200)
again = next((f for f in frames[menu + 11:] if f['scene'] == 'game' and not f['leaving']), None)
if not again or again['game']['score'] != 0 or again['game']['cleared']:
    fail(f'Retry did not play the stage again: {again}')
start = again['frame']
keys += [(start + f, k, c) for f, k, c in shot_keys]
frames = run(['--play', stage], keys, start + 800)
menu = next((f['frame'] for f in frames[start:] if f['scene'] == 'game' and f['game']['menuOpen']), None)
if menu is None:
    fail('the stage played again did not reach its menu')
tap(keys, menu + 10, 'Enter')
frames = run(['--play', stage], keys, menu + 200)
if not any(f['scene'] == 'title' for f in frames[menu + 11:]):
    fail('Next stage from a stage played on its own did not lead to the title')
if scores() != before:
    fail('playing the stage again changed a shipped result file')

# "My stages": a folder plays its stage files in order; Next stage goes on to
# the next one, and after the last to the title.
mine = os.path.join(work, 'mine')
os.makedirs(mine)
shutil.copy(stage, os.path.join(mine, 'Stage001.txt'))
with open(os.path.join(mine, 'Stage002.txt'), 'w') as second:
    second.write('x:4,y:0,z:0,sf:2,af:0,pf:0\nx:5,y:0,z:0,sf:1,af:0,pf:0\n')
with open(os.path.join(mine, 'notes.txt'), 'w') as notes:
    notes.write('not a stage\n')
keys = list(shot_keys)
frames = run(['--play', mine], keys, 800)
menu = next((f['frame'] for f in frames if f['scene'] == 'game' and f['game']['menuOpen']), None)
if menu is None:
    fail('the first stage of a folder did not reach its menu')
tap(keys, menu + 10, 'Enter')
frames = run(['--play', mine], keys, menu + 200)
second = next((f for f in frames[menu + 11:] if f['scene'] == 'game' and not f['leaving']), None)
if not second or [b[:4] for b in second['game']['blocks']] != [[4, 0, 0, 2], [5, 0, 0, 1]]:
    fail(f'Next stage did not play the folder\'s second stage: {second}')
start = second['frame']
keys += [(start + f, k, c) for f, k, c in shot_keys]
frames = run(['--play', mine], keys, start + 800)
menu = next((f['frame'] for f in frames[start:] if f['scene'] == 'game' and f['game']['menuOpen']), None)
if menu is None:
    fail('the folder\'s second stage did not reach its menu')
tap(keys, menu + 10, 'Enter')
frames = run(['--play', mine], keys, menu + 200)
if not any(f['scene'] == 'title' for f in frames[menu + 11:]):
    fail('Next stage after a folder\'s last stage did not lead to the title')
empty = os.path.join(work, 'empty')
os.makedirs(empty)
refused = subprocess.run([game, '--play', empty], capture_output=True, text=True)
if refused.returncode != 2 or 'no stage files' not in refused.stderr:
    fail(f'--play of a folder without stages: status {refused.returncode}, {refused.stderr!r}')

# The full-screen question, in the player's language: Japanese only where the
# locale names it. The trace keeps the game's own words; what was shown goes
# to the standard error.
QUESTION = 'フルスクリーンにしますか？'


def question_shown(env):
    shown = subprocess.run([harness, '--headless', '--data', data, '--frames', '1', '--trace', os.path.join(work, 't')],
                           env=env, check=True, capture_output=True, text=True).stderr
    traced = [json.loads(line) for line in open(os.path.join(work, 't'))][0]['messages']
    if [m['text'] for m in traced] != [QUESTION]:
        fail(f'the trace holds {traced} instead of the game\'s own question')
    return [line for line in shown.splitlines() if line.startswith('orb-harness: message')]


for locale, text in (('ja_JP.UTF-8', QUESTION), ('en_US.UTF-8', 'Play in full screen?'),
                     ('de_DE.UTF-8', 'Play in full screen?'), ('C.UTF-8', 'Play in full screen?'),
                     ('POSIX', 'Play in full screen?'), (None, 'Play in full screen?')):
    env = {k: v for k, v in os.environ.items() if not k.startswith('LC_') and k != 'LANG'}
    if locale:
        env['LANG'] = locale
    shown = question_shown(env)
    if len(shown) != 1 or not shown[0].endswith(': ' + text):
        fail(f'under {locale} the question read {shown}')
env['LC_ALL'] = 'ja_JP.UTF-8'
env['LANG'] = 'en_GB.UTF-8'
if not question_shown(env)[0].endswith(': ' + QUESTION):
    fail('LC_ALL did not win over LANG')

# A renderer without OpenGL 3.3: the device's own error box, then the
# program's, and the reason on standard error.
env = dict(os.environ, MESA_GL_VERSION_OVERRIDE='3.0', LANG='ja_JP.UTF-8')
failed = subprocess.run([harness, '--data', data, '--frames', '1'], env=env, capture_output=True, text=True)
boxes = [line for line in failed.stderr.splitlines() if line.startswith('orb-harness: message')]
if failed.returncode == 0 or boxes[1:] != ['orb-harness: message "Direct3D初期化": Direct3Dの初期化に失敗',
                                           'orb-harness: message "": DirectX初期化失敗']:
    fail(f'a failed device start showed {boxes}')
if 'cannot start: ' not in failed.stderr.splitlines()[-1]:
    fail(f'a failed device start gave no reason: {failed.stderr}')

# The game's command line answers without opening a window.
version = subprocess.run([game, '--version'], check=True, capture_output=True, text=True).stdout
if not version.startswith('orb '):
    fail(f'--version printed {version!r}')
usage = subprocess.run([game, '--help'], check=True, capture_output=True, text=True).stdout
if '--play FILE|FOLDER|CODE' not in usage or '--fullscreen' not in usage or 'Space' not in usage:
    fail(f'--help printed {usage!r}')
if subprocess.run([game, '--windowed', '--fullscreen'], capture_output=True).returncode != 2:
    fail('contradicting window options were taken')
if subprocess.run([game, '--play'], capture_output=True).returncode != 2:
    fail('--play without a file was taken')
# A FIFO would block the start for good; a folder without stage files, a
# missing file, or one that holds no block is no stage either. Each gets one line and status 2, at once, before any window opens.
# An empty or binary file would play an empty board and clear it at once.
fifo = os.path.join(work, 'fifo')
os.mkfifo(fifo)
blank = os.path.join(work, 'blank.txt')
open(blank, 'w').close()
binary = os.path.join(work, 'binary.txt')
with open(binary, 'wb') as out:
    out.write(bytes(range(256)) * 4)
for target, why in ((fifo, 'not a stage file'), (work, 'no stage files'),
                    (os.path.join(work, 'missing.txt'), 'No such file or directory'),
                    (blank, 'no block could be read'), (binary, 'no block could be read')):
    for program in (game, harness):
        refused = subprocess.run([program, '--play', target], capture_output=True, text=True, timeout=10)
        if refused.returncode != 2 or why not in refused.stderr:
            fail(f'{os.path.basename(program)} --play {target}: status {refused.returncode}, {refused.stderr!r}')
shutil.rmtree(work, ignore_errors=True)
print('ok')
