#!/usr/bin/env python3
"""Escape and Backspace go back one level with the play aids, through the real
harness: the difficulty choice closes, a game's menu opens and closes, the
stage select opens on the stage just played and goes back to the title, and
only the title quits. Without the aids Escape still quits from any scene.

    way_back.py HARNESS RUNTIME_DIR
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

harness, runtime = sys.argv[1:3]
work = tempfile.mkdtemp()
failures = []

# Frames found by playing the script: the select takes keys from frame 311,
# the game from 530.
EVENING = [(5, 'Enter'), (10, 'Enter'), (70, 'Escape'), (80, 'Enter'), (140, 'Enter'),
           (320, 'Right'), (360, 'Enter'),
           (540, 'Escape'), (550, 'Escape'), (560, 'Escape'), (570, 'Down'), (580, 'Enter'),
           (760, 'Backspace'), (900, 'Escape')]


def play(presses, frames, assists=True):
    script = os.path.join(work, 'keys.txt')
    with open(script, 'w') as out:
        for frame, key in presses:
            out.write(f'{frame} {key} down\n{frame + 2} {key} up\n')
    trace = os.path.join(work, 'trace.jsonl')
    subprocess.run([harness, '--headless', '--data', runtime, '--scene', 'title', '--frames', str(frames),
                    '--keys', script, '--trace', trace] + (['--assists'] if assists else []),
                   check=True, stderr=subprocess.DEVNULL)
    return {frame['frame']: frame for frame in map(json.loads, open(trace))}


def expect(frames, at, scene, why, **fields):
    frame = frames.get(at)
    if frame is None:
        failures.append(f'frame {at}: the program had ended ({why})')
        return
    shown = frame.get(scene)
    if frame['scene'] != scene or any(shown.get(key) != value for key, value in fields.items()):
        failures.append(f'frame {at}: {frame["scene"]} {shown}, not {scene} {fields} ({why})')


frames = play(EVENING, 1200)
expect(frames, 72, 'title', 'Escape closes the difficulty choice', difficultyOpen=False)
expect(frames, 545, 'game', 'Escape opens the menu', menuOpen=True)
expect(frames, 555, 'game', 'Escape closes it again', menuOpen=False)
expect(frames, 751, 'select', 'the select shows the stage just played', stageNumber=2)
expect(frames, 890, 'title', 'Backspace goes back to the title', menuItem=0)
if max(frames) >= 1199:
    failures.append('Escape on the title did not quit')

classic = play([(5, 'Enter'), (10, 'Enter'), (70, 'Escape')], 200, assists=False)
if max(classic) > 75:
    failures.append(f'without the aids Escape in the difficulty choice did not quit (ran to frame {max(classic)})')

shutil.rmtree(work, ignore_errors=True)
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
