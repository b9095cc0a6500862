#!/usr/bin/env bash
# Escape, SIGTERM and closing the window end the program cleanly (exit status
# 0, a complete trace) from every scene, in the middle of fades, the menu and
# the game-over sequence.
set -uo pipefail
harness=$1 stagetool=$2 source=$3
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy, since the editor's save writes into it.
cp -r "$4" "$work/runtime"
runtime=$work/runtime
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The trace's last line must be whole and name the frame before the quit.
last_frame() {
  python3 -c 'import json, sys; print(json.loads(open(sys.argv[1]).read().splitlines()[-1])["frame"])' "$1"
}

# escape NAME FRAME SCENE-OPTIONS... with the keys before the quit on stdin.
escape() {
  local name=$1 frame=$2
  shift 2
  { cat; echo "$frame Escape down"; } > "$work/$name.keys"
  "$harness" --data "$runtime" --headless --frames $((frame + 100)) --keys "$work/$name.keys" \
    --trace "$work/$name.jsonl" "$@" > "$work/$name.out" 2>&1
  local status=$?
  [ $status -eq 0 ] || { fail "$name: Escape ended with status $status"; cat "$work/$name.out"; return; }
  [ "$(last_frame "$work/$name.jsonl")" = $((frame - 1)) ] || fail "$name: frames ran after Escape"
}

escape title-prompt 3 < /dev/null
# Into the title's menu and Easy, then out during the fade to the stage select.
printf '5 Enter down\n6 Enter up\n20 Enter down\n21 Enter up\n40 Enter down\n41 Enter up\n' \
  | escape title-fade-out 48
escape select-fade-in 40 --scene select < /dev/null
printf '100 Right down\n101 Right up\n' | escape select-turning 110 --scene select
escape game-fade-in 10 --scene game < /dev/null
printf '60 M down\n61 M up\n' | escape game-menu 80 --scene game
# Stage 1-1 played to its clear, and 2-4 to its loss: quit in each sequence.
"$stagetool" keys "$source/data/Resource/BData/STAGE1/Stage001.txt" | escape game-clear 160 --scene game
escape game-over 300 --scene game --group 2 --stage 4 < "$source/docs/stages/2-4-first-try.keys"
escape editor 5 --scene edit < /dev/null
printf '5 1 down\n6 1 up\n7 P down\n8 P up\n' | escape editor-saved 12 --scene edit

# SIGTERM: in real time, as a player's session would be ended.
for scene in title select game edit; do
  "$harness" --data "$runtime" --headless --realtime --frames 100000 --scene $scene \
    --trace "$work/term-$scene.jsonl" > /dev/null 2>&1 &
  pid=$!
  sleep 1.5
  kill -TERM $pid
  wait $pid
  status=$?
  [ $status -eq 0 ] || fail "SIGTERM in $scene ended with status $status"
  last_frame "$work/term-$scene.jsonl" > /dev/null || fail "SIGTERM in $scene left a broken trace"
done

# Closing the window, as a window manager's close button asks. The window is
# found by its process: other tests may have windows open on the same display.
if [ -n "${DISPLAY:-}" ]; then
  (cd "$runtime" && exec "$harness" --answer-fullscreen no --realtime --frames 100000 > /dev/null 2>&1) &
  pid=$!
  sleep 1.5
  if python3 "$here/close_window.py" $pid 60; then
    wait $pid
    status=$?
    [ $status -eq 0 ] || fail "closing the window ended with status $status"
  else
    fail "the window never appeared"
    kill $pid
    wait $pid
  fi
fi

[ $failures -eq 0 ] && echo ok
exit $((failures > 0))
