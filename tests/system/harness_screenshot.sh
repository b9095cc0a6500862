#!/usr/bin/env bash
# The title's first frame, screenshotted: the title image at the top over a
# white background.
set -euo pipefail
harness=$1 runtime=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$harness" --data "$runtime" --frames 3 --screenshot "1:$work/frame1.png"
[ -s "$work/frame1.png" ] || { echo "no screenshot written"; exit 1; }
python3 - "$work/frame1.png" "$(dirname "$0")" <<'PY'
import sys
sys.path.insert(0, sys.argv[2])
from png import Picture
picture = Picture(sys.argv[1])
assert (picture.width, picture.height) == (1280, 720), (picture.width, picture.height)
assert min(picture.mean(0, 700, 1280, 720)) > 250, 'the bottom is not white'
assert min(picture.mean(440, 40, 840, 200)) < 200, 'no title image at the top'
print('ok')
PY

# A screenshot of a frame the run never reaches is an error, not a silent gap.
if "$harness" --data "$runtime" --frames 3 --screenshot "5:$work/late.png" 2> "$work/err.txt"; then
  echo "a screenshot after the last frame was reported as success"
  exit 1
fi
grep -q "frame 5" "$work/err.txt" || { echo "unexpected reason: $(cat "$work/err.txt")"; exit 1; }
echo ok
