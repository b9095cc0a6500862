#!/usr/bin/env python3
"""A game window of another size than the picture: opened smaller, then made
wide, the whole 1280 x 720 picture shows scaled into it, letterboxed with
black bars, the score board's corners inside the window; screenshots of the
picture itself stay 1280 x 720. Full screen on an X server without a window
manager covers the screen the same way, and Alt+Enter goes to the window and
back to the whole screen.

    window_size.py HARNESS ORB RUNTIME_DIR
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png import Picture  # noqa: E402

harness, game, runtime = sys.argv[1:4]
work = tempfile.mkdtemp()


def fail(why):
    shutil.rmtree(work, ignore_errors=True)
    sys.exit(why)


def shot(name):
    return os.path.join(work, name + '.png')


subprocess.run([harness, '--data', runtime, '--scene', 'game', '--frames', '140',
                '--resize', '0:960x720', '--screenshot', f'100:{shot("picture")}', '--window-shot', f'100:{shot("tall")}',
                '--resize', '110:1600x700', '--screenshot', f'130:{shot("picture-wide")}',
                '--window-shot', f'130:{shot("wide")}'], check=True, stderr=subprocess.DEVNULL)

def check_letterboxed(name, size, picture_name):
    window, picture = Picture(shot(name)), Picture(shot(picture_name))
    if (picture.width, picture.height) != (1280, 720):
        fail(f'the picture itself is {picture.width} x {picture.height}')
    if (window.width, window.height) != size:
        fail(f'the {name} window shows {window.width} x {window.height}, not {size}')
    # Where the picture lands: the largest 16:9 rectangle that fits, centred.
    width = min(window.width, window.height * 1280 // 720)
    height = width * 720 // 1280
    left, top = (window.width - width) // 2, (window.height - height) // 2
    scale = width / 1280
    bars = [(0, 0, window.width, top), (0, top + height, window.width, window.height),
            (0, 0, left, window.height), (left + width, 0, window.width, window.height)]
    for box in bars:
        if box[2] - box[0] >= 4 and box[3] - box[1] >= 4 and max(window.mean(*box)) > 2:
            fail(f'the {name} window\'s bar {box} is not black')

    def placed(x, y):
        return window.pixel(min(window.width - 1, int(left + (x + 0.5) * scale)),
                            min(window.height - 1, int(top + (y + 0.5) * scale)))

    # The score board's corners and the picture's own corners, where the scaling puts them.
    for x, y in ((30, 40), (200, 40), (30, 90), (200, 90), (640, 360), (8, 8), (1271, 8), (8, 711), (1271, 711)):
        expected, shown = picture.pixel(x, y), placed(x, y)
        if max(abs(a - b) for a, b in zip(expected, shown)) > 40:
            fail(f'in the {name} window, ({x}, {y}) of the picture shows {shown}, not {expected}')


check_letterboxed('tall', (960, 720), 'picture')
check_letterboxed('wide', (1600, 700), 'picture-wide')

# A 4:3 screen of its own, with no window manager: nothing but the game
# itself can make its window cover the screen.
screen = (1440, 1080)
if not shutil.which('Xvfb'):
    print('skipped full screen without a window manager: Xvfb is not installed')
else:
    # The server picks a free display and names it on this pipe, the
    # newline apart; the pipe stays open while it runs, or writing the
    # newline ends it.
    reading, writing = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(writing), '-screen', '0', f'{screen[0]}x{screen[1]}x24',
                               '-nolisten', 'tcp'], pass_fds=(writing,), stderr=subprocess.DEVNULL)
    os.close(writing)
    named = os.fdopen(reading)
    number = named.readline().strip()
    if not number:
        fail('Xvfb did not start')
    bare = dict(os.environ, DISPLAY=':' + number, XDG_CONFIG_HOME=work)
    try:
        subprocess.run([harness, '--data', runtime, '--scene', 'game', '--frames', '110', '--answer-fullscreen', 'yes',
                        '--screenshot', f'100:{shot("picture-full")}', '--window-shot', f'100:{shot("full-screen")}'],
                       env=bare, check=True, stderr=subprocess.DEVNULL)
        check_letterboxed('full-screen', screen, 'picture-full')

        def geometry(unlike=None):
            """The game window's size on the X server once it is shown, and
            once it is no longer unlike; the last size seen after ten seconds."""
            size = None
            for _ in range(100):
                tree = subprocess.run(['xwininfo', '-root', '-tree'], env=bare, capture_output=True, text=True).stdout
                for line in tree.splitlines():
                    if '"ORB":' in line:
                        info = subprocess.run(['xwininfo', '-id', line.split()[0]], env=bare, capture_output=True,
                                              text=True).stdout
                        if 'IsViewable' in info:
                            size = tuple(int(l.split()[-1]) for l in info.splitlines()
                                         if l.strip().startswith(('Width:', 'Height:')))
                if size and size != unlike:
                    return size
                time.sleep(0.1)
            return size

        if shutil.which('xwininfo') and shutil.which('xdotool'):
            process = subprocess.Popen([game, '--fullscreen'], cwd=runtime, env=bare, stderr=subprocess.DEVNULL,
                                       start_new_session=True)
            try:
                seen = [geometry()]
                for _ in range(2):
                    subprocess.run(['xdotool', 'key', 'alt+Return'], env=bare, check=True)
                    seen.append(geometry(unlike=seen[-1]))
            finally:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait(timeout=10)
            if seen != [screen, (1280, 720), screen]:
                fail(f'full screen, Alt+Enter and Alt+Enter again gave windows of {seen}, not {screen}, '
                     f'1280 x 720 and {screen}')
        else:
            print('skipped Alt+Enter without a window manager: xwininfo or xdotool is not installed')
    finally:
        server.terminate()
        server.wait(timeout=10)
        named.close()
shutil.rmtree(work, ignore_errors=True)
print('ok')
