#!/usr/bin/env python3
"""The player's settings file through the real programs: the volumes reach
the sound players (in the trace) and the display answers the start-up
question; the volume keys change a level, show it and keep it for the next
start, changing only their own lines; a line that is no setting gives one
line on stderr and the rest of the file still counts; a file that is no
settings file (a FIFO) gives the defaults and is left alone; on the game's
command line --windowed and --fullscreen win over the file; and with the play
aids the question's answer is kept, so that it is asked once, and again with
--ask, while without them the file keeps "display = ask".

    settings.py HARNESS ORB RUNTIME_DIR SOURCE_DIR
"""
import json
import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fresh_data import make_fresh_data  # noqa: E402

harness, game, runtime, root = sys.argv[1:5]
work = tempfile.mkdtemp()
data = os.path.join(work, 'data')
config = os.path.join(work, 'config')
settings = os.path.join(config, 'orb/settings.ini')
env = dict(os.environ, XDG_CONFIG_HOME=config)
failures = []


def write(text):
    os.makedirs(os.path.dirname(settings), exist_ok=True)
    with open(settings, 'w') as out:
        out.write(text)


def read():
    return open(settings).read()


def run(taps=(), frames=120, options=()):
    make_fresh_data(data, runtime, root)
    script = os.path.join(work, 'keys.txt')
    with open(script, 'w') as out:
        for frame, key in taps:
            out.write(f'{frame} {key} down\n{frame + 1} {key} up\n')
    trace = os.path.join(work, 'trace.jsonl')
    done = subprocess.run([harness, '--headless', '--data', data, '--scene', 'game', '--frames', str(frames),
                           '--keys', script, '--trace', trace, '--settings', settings, *options], capture_output=True,
                          text=True, check=True)
    return [json.loads(line) for line in open(trace)], done.stderr


def sounds(frames):
    return [s for f in frames for s in f['sounds'] if s.startswith('levels')]


write('music = 60\neffects = 30\ndisplay = window\n')
frames, _ = run()
if frames[0]['messages']:
    failures.append(f'display = window still asked: {frames[0]["messages"]}')
if sounds(frames[:1]) != ['levels music 60 effects 30']:
    failures.append(f'the levels did not reach the sound player: {sounds(frames)}')

frames, _ = run([(100, 'Equals'), (110, 'LeftBracket')])
if sounds(frames[100:]) != ['levels music 70 effects 30', 'levels music 70 effects 20']:
    failures.append(f'the volume keys gave {sounds(frames[100:])}')
if 'music = 70' not in read() or 'effects = 20' not in read():
    failures.append(f'the new levels were not kept: {read()!r}')
frames, _ = run()
if sounds(frames[:1]) != ['levels music 70 effects 20']:
    failures.append(f'the kept levels did not come back at the next start: {sounds(frames[:1])}')

write('music = loud\n')
frames, stderr = run()
warnings = [line for line in stderr.splitlines() if 'settings.ini' in line]
if len(warnings) != 1 or 'line 1' not in warnings[0]:
    failures.append(f'a malformed file gave {warnings}')
if sounds(frames) or not frames[0]['messages']:
    failures.append('a malformed file did not give the defaults')

write('# mine\nmusik = 50\neffects = 30\n')
frames, stderr = run([(100, 'LeftBracket')])
warnings = [line for line in stderr.splitlines() if 'settings.ini' in line]
if len(warnings) != 1 or 'line 2' not in warnings[0]:
    failures.append(f'a misspelt line gave {warnings}')
if sounds(frames) != ['levels music 100 effects 30', 'levels music 100 effects 20']:
    failures.append(f'beside a misspelt line the good ones gave {sounds(frames)}')
if read() != '# mine\nmusik = 50\neffects = 20\n':
    failures.append(f'a volume key changed more than its line: {read()!r}')

write('display = ask\n')
frames, _ = run(frames=1, options=['--answer-fullscreen', 'yes'])
if not frames[0]['messages'] or read() != 'display = ask\n':
    failures.append(f'without the play aids the answer was kept: {read()!r}')
frames, _ = run(frames=1, options=['--assists', '--answer-fullscreen', 'yes'])
if not frames[0]['messages'] or read() != 'display = fullscreen\n':
    failures.append(f'with the play aids the answer Yes left {read()!r}')
frames, _ = run(frames=1, options=['--assists'])
if frames[0]['messages']:
    failures.append(f'the kept answer was asked again: {frames[0]["messages"]}')

os.remove(settings)
os.mkfifo(settings)
frames, stderr = run([(100, 'Minus')])
warnings = [line for line in stderr.splitlines() if 'settings.ini' in line]
if len(warnings) != 1 or 'not a regular file' not in warnings[0] or 'this run only' not in warnings[0]:
    failures.append(f'a FIFO for a settings file gave {warnings}')
if sounds(frames) != ['levels music 90 effects 100']:
    failures.append(f'with a FIFO for a settings file the volume keys gave {sounds(frames)}')
if not stat.S_ISFIFO(os.lstat(settings).st_mode):
    failures.append('a FIFO for a settings file was replaced')
os.remove(settings)

# The game itself in an X session: "display = fullscreen" starts it without
# the question, --windowed wins over it with a 1280 x 720 window, and
# "display = ask" asks; the answer is kept, and asked for again only with
# --ask, unless --classic leaves "display = ask" as it was.
if os.environ.get('DISPLAY') and shutil.which('xwininfo') and shutil.which('xdotool'):
    write('display = fullscreen\n')

    def windows():
        return subprocess.run(['xwininfo', '-root', '-tree'], capture_output=True, text=True).stdout.splitlines()

    def window_of(options, answer=None):
        """The size of the game's window (None while it is not shown) and
        whether its question was asked: only windows new since the start
        count. With an answer, that key answers the question, and the window
        that follows is waited for."""
        before = set(windows())
        # A session of its own: the message box runs in a child of its own, which goes too.
        process = subprocess.Popen([game] + options, cwd=runtime, env=env, stderr=subprocess.DEVNULL,
                                   start_new_session=True)
        asked = False
        try:
            # Up to a minute: a sanitizer build on a busy machine starts slowly.
            for _ in range(600):
                new = [line for line in windows() if line not in before]
                question = next((line for line in new if '"Question":' in line or '"確認":' in line), None)
                if question and not asked:
                    if not answer:
                        return None, True
                    asked = True
                    box = question.split()[0]
                    # Without a window manager the key goes to the window under the pointer.
                    subprocess.run(['xdotool', 'mousemove', '--window', box, '20', '20'])
                    subprocess.run(['xdotool', 'windowfocus', '--sync', box], stderr=subprocess.DEVNULL)
                    subprocess.run(['xdotool', 'key', '--clearmodifiers', answer])
                for line in new:
                    if '"ORB":' in line:
                        info = subprocess.run(['xwininfo', '-id', line.split()[0]], capture_output=True,
                                              text=True).stdout
                        if 'IsViewable' in info:
                            size = [int(l.split()[-1]) for l in info.splitlines()
                                    if l.strip().startswith(('Width:', 'Height:'))]
                            return size, asked
                time.sleep(0.1)
            return None, asked
        finally:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait(timeout=10)

    size, asked = window_of(['--windowed'])
    if size != [1280, 720] or asked:
        failures.append(f'--windowed over "display = fullscreen" gave a {size} window, asked {asked}')
    size, asked = window_of([])
    if size is None or asked:
        failures.append(f'"display = fullscreen" asked the question anyway ({asked}), window {size}')
    write('display = ask\n')
    size, asked = window_of([])
    if not asked:
        failures.append(f'"display = ask" did not ask; window {size}')

    size, asked = window_of([], answer='Return')
    if size != [1280, 720] or not asked or read() != 'display = window\n':
        failures.append(f'answered No: asked {asked}, a {size} window, the file {read()!r}')
    size, asked = window_of([])
    if size != [1280, 720] or asked:
        failures.append(f'after the answer No the next start asked {asked}, with a {size} window')
    size, asked = window_of(['--ask'])
    if not asked:
        failures.append(f'--ask did not ask; window {size}')

    write('display = ask\n')
    size, asked = window_of(['--classic'], answer='Return')
    if size != [1280, 720] or not asked or read() != 'display = ask\n':
        failures.append(f'--classic answered No: asked {asked}, a {size} window, the file {read()!r}')

shutil.rmtree(work, ignore_errors=True)
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
