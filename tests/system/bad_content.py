#!/usr/bin/env python3
"""Every kind of content file removed or damaged in a copy of the game's data,
played headless through the harness:

- a model: its message and exit status 1, soon, never a signal;
- an image: the game goes on as before and draws nothing in its place (with a
  display: the picture equals the one with a fully transparent image);
- a sound: the game goes on as before;
- an effect file: its message, then the game goes on as before;
- a stage or result file: the message where one is due, and the game goes on.

    bad_content.py HARNESS RUNTIME_DIR
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

harness, runtime = sys.argv[1], os.path.realpath(sys.argv[2])
work = tempfile.mkdtemp()
# A model's message reaches only the standard error (the game ends right
# after it), in the player's language: the game's own Japanese words here.
os.environ['LC_ALL'] = 'ja_JP.UTF-8'
failures = []

LOAD_ERROR = ('読み込みエラー', 'ファイルがありません')
MODEL_ERROR = 'Xファイル読み込みエラー'
EFFECT_ERROR = 'シェーダコンパイルエラー'

# Each scene's run: its options and keys (frame, key) tapped on the way.
RUNS = {
    'title': (['--scene', 'title'], [(5, 'Enter'), (15, 'Down'), (25, 'Enter'), (40, 'Right'), (60, 'Left')], 120),
    'select': (['--scene', 'select'], [(100, 'Right'), (150, 'Left')], 200),
    'game': (['--scene', 'game', '--group', '1', '--stage', '1'], [(80, 'Up'), (90, 'Space'), (130, 'M'), (140, 'Down')],
             200),
}


def fail(case, why):
    failures.append(f'{case}: {why}')


def data_copy(name):
    """A copy of the data to damage: files linked, the stages and scores copied
    (the game writes them). Damage replaces a file, never writes through a link."""
    data = os.path.join(work, name)
    shutil.rmtree(data, ignore_errors=True)
    shutil.copytree(runtime, data, copy_function=os.link, ignore=shutil.ignore_patterns('BData'))
    shutil.copytree(os.path.join(runtime, 'Resource/BData'), os.path.join(data, 'Resource/BData'))
    return data


def replace(data, path, content):
    target = os.path.join(data, path)
    os.remove(target)
    if content is not None:
        with open(target, 'wb') as out:
            out.write(content)


def run(data, scene, screenshot=None):
    """Plays one scene; returns (exit status, trace frames, stderr)."""
    options, taps, frames = RUNS[scene]
    keys = os.path.join(data, 'keys.txt')
    with open(keys, 'w') as script:
        for frame, key in taps:
            script.write(f'{frame} {key} down\n{frame + 1} {key} up\n')
    trace = os.path.join(data, 'trace.jsonl')
    if os.path.exists(trace):
        os.remove(trace)
    command = [harness, '--data', data, '--frames', str(frames), '--keys', keys, '--trace', trace] + options
    command += ['--screenshot', f'{screenshot[0]}:{screenshot[1]}'] if screenshot else ['--headless']
    done = subprocess.run(command, capture_output=True, text=True, timeout=300)
    lines = [json.loads(line) for line in open(trace)] if os.path.exists(trace) else []
    return done.returncode, lines, done.stderr


def messages(frames):
    return [(m['caption'], m['text']) for f in frames for m in f['messages'] if m['caption'] != '確認']


def without_messages(frames):
    return [{k: v for k, v in f.items() if k != 'messages'} for f in frames]


def png(width, height, rgba_row):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    raw = b''.join(b'\0' + rgba_row * width for _ in range(height))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def damaged(original):
    """The ways a file goes bad: gone, empty, cut short, overwritten with noise."""
    noise = bytes((i * 7919 + 13) % 256 for i in range(4096))
    return {'missing': None, 'empty': b'', 'truncated': original[:len(original) // 3],
            'noise': noise, 'noise-after-header': original[:64] + noise}


baseline = {scene: run(data_copy('baseline'), scene) for scene in RUNS}
for scene, (status, frames, stderr) in baseline.items():
    if status != 0 or len(frames) != RUNS[scene][2]:
        sys.exit(f'the undamaged game does not run in {scene}: status {status}\n{stderr}')


def goes_on(case, scene, data, expect_messages=()):
    """The scene runs every frame with exit status 0, shows the given messages,
    and otherwise does what it did with good files."""
    status, frames, stderr = run(data, scene)
    if status != 0:
        fail(case, f'{scene} ended with status {status}: {stderr.strip()[-300:]}')
        return
    if messages(frames) != list(expect_messages):
        fail(case, f'{scene} showed {messages(frames)} instead of {list(expect_messages)}')
    if without_messages(frames) != without_messages(baseline[scene][1]):
        fail(case, f'{scene} played differently from the undamaged game')


# Models: the message with the path as its caption, and exit status 1.
model = 'Resource/Data/Title/Model1.x'
model_text = open(os.path.join(runtime, model), 'rb').read()
model_cases = damaged(model_text)
model_cases['two-billion-vertices'] = (b'xof 0303txt 0032\nMesh m {\n2000000000;\n' +
                                       b'1.0;2.0;3.0;,\n' * 1000)
for how, content in model_cases.items():
    case = f'model {how}'
    data = data_copy('model')
    replace(data, model, content)
    try:
        status, frames, stderr = run(data, 'title')
    except subprocess.TimeoutExpired:
        fail(case, 'still running after 300 s')
        continue
    if status != 1:
        fail(case, f'exit status {status} instead of 1')
    if f'message "{model}": {MODEL_ERROR}' not in stderr:
        fail(case, f'no message "{MODEL_ERROR}" captioned {model}: {stderr.strip()[-300:]}')

# Images: sprites in each scene, and a model's texture (the sky is then drawn white).
for image, scene in (('Resource/Data/Title/Title.png', 'title'), ('Resource/Texture/NotCleared.png', 'select'),
                     ('Resource/Texture/ScoreBoard.png', 'game'), ('Resource/Data/SkySphere/Sky1.png', 'game')):
    original = open(os.path.join(runtime, image), 'rb').read()
    cases = damaged(original)
    cases['claims-huge-size'] = original[:16] + struct.pack('>II', 60000, 60000) + original[24:]
    for how, content in cases.items():
        data = data_copy('image')
        replace(data, image, content)
        goes_on(f'image {image} {how}', scene, data)

if os.environ.get('DISPLAY'):
    # Nothing drawn: the picture with the image gone is the picture with a
    # fully transparent image, and not the picture with the image.
    image = 'Resource/Data/Title/Title.png'
    original = open(os.path.join(runtime, image), 'rb').read()
    width, height = struct.unpack('>II', original[16:24])
    shots = {}
    for how, content in (('good', original), ('missing', None), ('clear', png(width, height, b'\0\0\0\0'))):
        data = data_copy('picture')
        replace(data, image, content)
        shots[how] = os.path.join(work, f'{how}.png')
        status, _, stderr = run(data, 'title', (100, shots[how]))
        if status != 0:
            fail(f'image {image} {how} in a window', f'status {status}: {stderr.strip()[-300:]}')
    sys.path.insert(0, os.path.dirname(__file__))
    from png import Picture
    pixels = {how: Picture(path).rows for how, path in shots.items() if os.path.exists(path)}
    if len(pixels) == 3:
        if pixels['missing'] != pixels['clear']:
            fail(f'image {image} missing', 'something was drawn in its place')
        if pixels['good'] == pixels['clear']:
            fail(f'image {image}', 'the picture check cannot tell: the image does not show at frame 100')

# Sounds: silent, and the game plays on as it did.
for sound, scene in (('Resource/Sound/TitleBGM.wav', 'title'), ('Resource/Sound/決定音1.wav', 'title'),
                     ('Resource/Sound/発射音2.wav', 'game')):
    original = open(os.path.join(runtime, sound), 'rb').read()
    cases = damaged(original)
    at = original.find(b'data')
    cases['data-claims-4-GB'] = original[:at + 4] + struct.pack('<I', 0xFFFFFFF0) + original[at + 8:]
    cases['zero-channels'] = original[:22] + b'\0\0' + original[24:]
    for how, content in cases.items():
        data = data_copy('sound')
        replace(data, sound, content)
        goes_on(f'sound {sound} {how}', scene, data)

# Effect files: one message each, and the game goes on.
for effect in ('Shader/Shader_Model.cso', 'Shader/Shader_Filter.cso'):
    original = open(os.path.join(runtime, effect), 'rb').read()
    for how, content in (('missing', None), ('noise', damaged(original)['noise'])):
        case = f'effect {effect} {how}'
        data = data_copy('effect')
        replace(data, effect, content)
        status, frames, stderr = run(data, 'title')
        shown = [m for m in messages(frames) if m[0] == EFFECT_ERROR]
        if status != 0 or len(frames) != RUNS['title'][2]:
            fail(case, f'status {status} after {len(frames)} frames: {stderr.strip()[-300:]}')
        elif len(shown) != 1 or not shown[0][1]:
            fail(case, f'showed {messages(frames)} instead of one "{EFFECT_ERROR}" with the reason')

# Stages and results.
stage, result = 'Resource/BData/STAGE1/Stage001.txt', 'Resource/BData/STAGE1/Result1.txt'
data = data_copy('stage')
replace(data, stage, None)
status, frames, stderr = run(data, 'select')
if status != 0 or LOAD_ERROR not in messages(frames):
    fail('stage missing', f'select: status {status}, messages {messages(frames)}')
status, frames, stderr = run(data, 'game')
if status != 0 or messages(frames)[:1] != [LOAD_ERROR]:
    fail('stage missing', f'game: status {status}, messages {messages(frames)}')
elif not any(f['game']['cleared'] for f in frames):
    fail('stage missing', 'the empty stage was not cleared')
for how, content in (('noise', bytes(range(256)) * 8), ('half a line', b'x:1,y:0,z:')):
    data = data_copy('stage')
    replace(data, stage, content)
    for scene in ('select', 'game'):
        status, frames, stderr = run(data, scene)
        if status != 0 or messages(frames):
            fail(f'stage {how}', f'{scene}: status {status}, messages {messages(frames)}')

data = data_copy('result')
replace(data, result, None)
status, frames, stderr = run(data, 'select')
if status != 0 or messages(frames) != [LOAD_ERROR]:
    fail('result missing', f'status {status}, messages {messages(frames)} instead of one')
if os.path.exists(os.path.join(data, result)):
    fail('result missing', 'the select scene created the file')
for how, content in (('noise', bytes(range(256)) * 8), ('no score line', b'best: 3\n')):
    data = data_copy('result')
    replace(data, result, content)
    status, frames, stderr = run(data, 'select')
    if status != 0 or messages(frames) or frames[-1]['select']['scores'][0] != 0:
        fail(f'result {how}', f'status {status}, messages {messages(frames)}')

shutil.rmtree(work, ignore_errors=True)
if failures:
    sys.exit('\n'.join(failures))
print('ok')
