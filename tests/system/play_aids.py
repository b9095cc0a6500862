#!/usr/bin/env python3
"""The play aids through the real harness, on the 18 stages as they ship:

- par: the select panel's par of every stage is what orb-stage solve proves,
  and the panel names the stage's idea;
- hints: a player who does nothing but what the hints say clears every stage
  in exactly its par, and the clear says "with hints";
- dead end: the first shot orb-stage names as a trap of the first Hard (or
  else Normal) stage that has one brings up the notice, drawn over the game;
- the notice never lies: every position met in random play that the game
  calls lost, or still clearable, orb-stage solves from the same board and
  cell to the same verdict and the same number of shots.

    play_aids.py HARNESS ORB_STAGE RUNTIME_DIR SOURCE_DIR
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
# Random play's positions checked against orb-stage, at most.
CHECKED_POSITIONS = 40


def stage_file(group, stage):
    return os.path.join(root, 'data/Resource/BData', f'STAGE{group}', f'Stage00{stage}.txt')


def solve(path, cell=None):
    """orb-stage's verdict: the number of shots, or None when it cannot be cleared."""
    command = [tool, 'solve'] + (['--from', f'{cell[0]},{cell[2]}'] if cell else []) + [path]
    done = subprocess.run(command, capture_output=True, text=True)
    first = done.stdout.splitlines()[0]
    return int(first) if done.returncode == 0 else None


def play(options, frames, keys=None, drawlog=False):
    make_fresh_data(data, runtime, root)
    trace = os.path.join(work, 'trace.jsonl')
    command = [harness, '--headless', '--assists', '--data', data, '--frames', str(frames), '--trace', trace] + options
    if keys:
        script = os.path.join(work, 'keys.txt')
        with open(script, 'w') as out:
            out.write(keys)
        command += ['--keys', script]
    if drawlog:
        command += ['--drawlog', os.path.join(work, 'draws.jsonl')]
    subprocess.run(command, check=True, stderr=subprocess.DEVNULL)
    return [json.loads(line) for line in open(trace)]


pars = {}
for group in (1, 2, 3):
    shown = play(['--scene', 'select', '--group', str(group)], 2, drawlog=True)[-1]['select']['pars']
    idea = f'Resource/Texture/StageIdea{group}_1.png'
    if not any(d.get('tex') == idea for d in json.loads(open(os.path.join(work, 'draws.jsonl')).readlines()[-1])['draws']):
        failures.append(f'{group}-1: the panel does not name the stage\'s idea ({idea})')
    for stage in range(1, 7):
        pars[group, stage] = solve(stage_file(group, stage))
        if shown[stage - 1] != pars[group, stage]:
            failures.append(f'{group}-{stage}: the panel shows par {shown[stage - 1]}, orb-stage solves it in '
                            f'{pars[group, stage]}')

for (group, stage), par in pars.items():
    frames = play(['--scene', 'game', '--group', str(group), '--stage', str(stage), '--follow-hints'], 600 + 350 * par)
    game = frames[-1]['game']
    if not game['cleared'] or game['score'] != par or not game['assists']['hintsUsed']:
        failures.append(f'{group}-{stage}: following hints ended with score {game["score"]}, cleared '
                        f'{game["cleared"]}, par {par}')

trapped = next(((group, stage) for group in (3, 2) for stage in range(1, 7)
                if subprocess.run([tool, 'traps', '--keys', stage_file(group, stage)], capture_output=True).returncode == 0),
               None)
if trapped is None:
    failures.append('no Normal or Hard stage has a trap shot')
else:
    group, stage = trapped
    keys = subprocess.run([tool, 'traps', '--keys', stage_file(group, stage)], check=True, capture_output=True,
                          text=True).stdout
    done_by = int(keys.splitlines()[0].rsplit(' ', 1)[1])
    frames = play(['--scene', 'game', '--group', str(group), '--stage', str(stage)], done_by + 5, keys, drawlog=True)
    if frames[-1]['game']['assists']['solvable'] is not False:
        failures.append(f'{group}-{stage}: after its trap shot the game calls the board {frames[-1]["game"]["assists"]}')
    last_draws = open(os.path.join(work, 'draws.jsonl')).read().splitlines()[-1]
    if 'DeadEnd.png' not in last_draws:
        failures.append(f'{group}-{stage}: after its trap shot the notice is not drawn')

checked = set()
for seed in (3, 7, 11):
    for frame in play(['--scene', 'game', '--group', '3', '--stage', '3', '--random-keys', str(seed)], 4000):
        game = frame.get('game')
        if not game or game['assists']['solvable'] is None or game['inFlight'] or game['reverse']:
            continue
        board = tuple(tuple(block) for block in game['blocks'])
        cell = tuple(game['player']['cell'])
        if (board, cell) in checked or len(checked) >= CHECKED_POSITIONS:
            continue
        checked.add((board, cell))
        path = os.path.join(work, 'position.txt')
        with open(path, 'w') as out:
            out.writelines(f'x:{x},y:{y},z:{z},sf:{kind},af:0,pf:0\n' for x, y, z, kind, state in board)
        proven = solve(path, cell)
        left = game['assists']['shotsLeft']
        if (proven is None) != (game['assists']['solvable'] is False) or (proven is not None and proven != left):
            failures.append(f'random play seed {seed}, frame {frame["frame"]}: the game says solvable '
                            f'{game["assists"]["solvable"]} ({left} left), orb-stage says {proven}')
if len(checked) < 10:
    failures.append(f'random play met only {len(checked)} positions to check')

shutil.rmtree(work, ignore_errors=True)
for failure in failures:
    print(failure)
print(f'{len(pars)} stages, {len(checked)} positions of random play checked')
sys.exit(1 if failures else 0)
