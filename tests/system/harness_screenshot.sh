#!/usr/bin/env bash
# With no scene yet the game presents a white frame; the screenshot must show it.
set -euo pipefail
harness=$1 runtime=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$harness" --data "$runtime" --frames 3 --screenshot "1:$work/frame1.png"
[ -s "$work/frame1.png" ] || { echo "no screenshot written"; exit 1; }
python3 - "$work/frame1.png" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
width, height = struct.unpack('>II', data[16:24])
assert (width, height) == (1280, 720), (width, height)
pos, idat = 8, b''
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    if kind == b'IDAT':
        idat += data[pos + 8:pos + 8 + length]
    pos += 12 + length
raw = zlib.decompress(idat)
row = 1 + width * 4
# Filter bytes aside, every channel of a few sample rows must be 255.
for y in (0, 360, 719):
    pixels = raw[y * row + 1:(y + 1) * row]
    assert raw[y * row] == 0 or set(pixels) <= {0, 255}, 'unexpected filter'
    if raw[y * row] == 0:
        assert set(pixels) == {255}, f'row {y} is not white'
print('ok')
PY

# A screenshot of a frame the run never reaches is an error, not a silent gap.
if "$harness" --data "$runtime" --frames 3 --screenshot "5:$work/late.png" 2> "$work/err.txt"; then
  echo "a screenshot after the last frame was reported as success"
  exit 1
fi
grep -q "frame 5" "$work/err.txt" || { echo "unexpected reason: $(cat "$work/err.txt")"; exit 1; }
echo ok
