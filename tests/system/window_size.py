#!/usr/bin/env python3
"""A game window of another size than the picture: opened smaller, then made
wide, the whole 1280 x 720 picture shows scaled into it, letterboxed with
black bars, the score board's corners inside the window; screenshots of the
picture itself stay 1280 x 720.

    window_size.py HARNESS RUNTIME_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png import Picture  # noqa: E402

harness, runtime = sys.argv[1:3]
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

for name, size, picture_name in (('tall', (960, 720), 'picture'), ('wide', (1600, 700), 'picture-wide')):
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
shutil.rmtree(work, ignore_errors=True)
print('ok')
