#!/usr/bin/env python3
"""An evening with the game, played headless through the harness from the
title as a person would: open the menu, choose Hard with Left, turn the stage
select to stage 4, clear it with the solver's shots, go back to the stage
select and see the best score, play the stage again, retry it from the menu,
go on to the next stage, and leave for the title. Each run is played again
from the start with more keys, once the frames the last one reached are known.

    whole_game.py HARNESS ORB_STAGE SOURCE_DIR RUNTIME_DIR
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fresh_data import make_fresh_data  # noqa: E402

harness, tool, root, runtime = sys.argv[1:5]
work = tempfile.mkdtemp()
keys = []


def fail(why):
    shutil.rmtree(work, ignore_errors=True)
    sys.exit(why)


def tap(frame, key):
    keys.append((frame, key, 'down'))
    keys.append((frame + 1, key, 'up'))


def play(frames):
    """The whole evening so far, from a fresh copy of the stages and scores."""
    data = os.path.join(work, 'data')
    make_fresh_data(data, runtime, root)
    with open(os.path.join(work, 'keys.txt'), 'w') as script:
        for frame, key, change in sorted(keys, key=lambda k: k[0]):
            script.write(f'{frame} {key} {change}\n')
    trace = os.path.join(work, 'trace.jsonl')
    subprocess.run([harness, '--headless', '--data', data, '--frames', str(frames),
                    '--keys', os.path.join(work, 'keys.txt'), '--trace', trace], check=True)
    return [json.loads(line) for line in open(trace)], data


def first(frames, after, test, what):
    for f in frames[after:]:
        if test(f):
            return f['frame']
    fail(f'{what} never happened after frame {after}')


# The title: the menu, the difficulty choice, Hard, and off to the stage select.
tap(5, 'Enter')
tap(15, 'Enter')
tap(80, 'Left')
tap(140, 'Enter')
frames, _ = play(400)
if frames[10]['title']['menuItem'] != 1 or not frames[20]['title']['difficultyOpen']:
    fail('the title did not open its menu and the difficulty choice')
if frames[90]['stageGroup'] != 3 or frames[90]['title']['difficultyIndex'] != 1:
    fail('Left did not choose Hard')
select = first(frames, 140, lambda f: f['scene'] == 'select', 'the stage select')

# Past the fade-in: three turns to stage 4, and Enter.
for i in range(3):
    tap(select + 90 + 10 * i, 'Right')
tap(select + 150, 'Enter')
frames, _ = play(select + 300)
if frames[select + 140]['stageNumber'] != 4:
    fail('the stage select did not turn to stage 4')
game = first(frames, select, lambda f: f['scene'] == 'game', 'the game')
if (frames[game]['stageGroup'], frames[game]['stageNumber']) != (3, 4):
    fail(f'the wrong stage started: {frames[game]}')

# The solver's shots, as keys, from the game's first frame.
stage_file = os.path.join(root, 'data/Resource/BData/STAGE3/Stage004.txt')
solution = subprocess.run([tool, 'keys', stage_file], check=True, capture_output=True, text=True).stdout
lines = solution.splitlines()
done = int(lines[0].rsplit(' ', 1)[1])
shots = int(subprocess.run([tool, 'solve', stage_file], check=True, capture_output=True,
                           text=True).stdout.splitlines()[0])
for line in lines[1:]:
    frame, key, change = line.split()
    keys.append((game + int(frame), key, change))
frames, data = play(game + done + 700)
cleared = first(frames, game, lambda f: f['scene'] == 'game' and f['game']['cleared'], 'the clear')
if frames[cleared]['game']['score'] != shots:
    fail(f'cleared in {frames[cleared]["game"]["score"]} shots, not {shots}')
if open(os.path.join(data, 'Resource/BData/STAGE3/Result4.txt')).read() != f'score:{shots}':
    fail('the best score was not written')
menu = first(frames, cleared, lambda f: f['scene'] == 'game' and f['game']['menuOpen'], 'the menu')

# Stage select from the menu, back to stage 4: its best score shows.
tap(menu + 5, 'Down')
tap(menu + 15, 'Enter')
frames, _ = play(menu + 200)
select = first(frames, menu, lambda f: f['scene'] == 'select', 'the second stage select')
for i in range(3):
    tap(select + 90 + 10 * i, 'Right')
tap(select + 150, 'Enter')
frames, _ = play(select + 300)
panel = frames[select + 140]
if panel['stageNumber'] != 4 or panel['select']['scores'][3] != shots:
    fail(f'the stage select does not show the best score of stage 4: {panel}')
game = first(frames, select, lambda f: f['scene'] == 'game', 'the second game')

# Retry from the menu (Up wraps to the last row), then the next stage.
tap(game + 100, 'M')
tap(game + 110, 'Up')
tap(game + 120, 'Enter')
frames, _ = play(game + 300)
if frames[game + 115]['game']['menuCursor'] != 3:
    fail('Up did not reach Retry')
retry = first(frames, game + 121, lambda f: f['scene'] == 'game' and not f['leaving'], 'the retry')
if frames[retry]['stageNumber'] != 4 or frames[retry]['game']['score'] != 0:
    fail(f'Retry did not start stage 4 afresh: {frames[retry]}')
tap(retry + 100, 'M')
tap(retry + 110, 'Enter')
frames, _ = play(retry + 300)
after = first(frames, retry + 111, lambda f: f['scene'] == 'game' and not f['leaving'], 'the next stage')
if frames[after]['stageNumber'] != 5:
    fail(f'Next stage did not start stage 5: {frames[after]}')

# And back to the title.
tap(after + 100, 'M')
tap(after + 110, 'Down')
tap(after + 120, 'Down')
tap(after + 130, 'Enter')
frames, _ = play(after + 300)
title = first(frames, after + 131, lambda f: f['scene'] == 'title', 'the title')
if frames[title]['title']['menuItem'] != 0 or frames[title]['stageGroup'] != 1:
    fail(f'the title did not start afresh: {frames[title]}')
shutil.rmtree(work, ignore_errors=True)
print('ok')
