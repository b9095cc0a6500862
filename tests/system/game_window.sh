#!/usr/bin/env bash
# The real game binary in an X session: the full-screen question appears, Enter
# answers it with the default (No), the ORB window opens and runs frames, and
# Escape ends the process with status 0.
set -uo pipefail
game=$1 runtime=$2
if [ -z "${DISPLAY:-}" ] || ! command -v xdotool > /dev/null; then
  echo "skipped: needs an X display and xdotool (./test.sh provides both)"
  exit 77
fi

cd "$runtime"
# A settings file of its own: the answer is kept there, and the next run
# would not ask.
config=$(mktemp -d)
# The question's window is looked for by its Japanese caption.
XDG_CONFIG_HOME=$config LC_ALL=ja_JP.UTF-8 "$game" &
pid=$!
trap 'kill $pid 2> /dev/null; rm -rf "$config"' EXIT INT TERM

# xwininfo, because xdotool's name search does not read UTF-8 window names.
wait_for_window() {
  local name=$1 id=""
  for _ in $(seq 150); do
    id=$(xwininfo -root -tree 2> /dev/null | awk -v name="\"$name\":" '$2 == name { print $1; exit }')
    if [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable; then
      echo "$id"
      return 0
    fi
    kill -0 $pid 2> /dev/null || return 1
    sleep 0.1
  done
  return 1
}

press() {
  # Without a window manager the key goes to the window under the pointer.
  xdotool mousemove --window "$1" 20 20
  xdotool windowfocus --sync "$1" 2> /dev/null || true
  xdotool key --clearmodifiers "$2"
}

question=$(wait_for_window "確認") || { echo "the full-screen question did not appear"; exit 1; }
press "$question" Return
window=$(wait_for_window "ORB") || { echo "the ORB window did not appear"; exit 1; }
geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry" | grep -q "Geometry: 1280x720" || { echo "unexpected window size: $geometry"; exit 1; }
sleep 1
kill -0 $pid 2> /dev/null || { echo "the game ended on its own"; exit 1; }
press "$window" Escape
for _ in $(seq 50); do
  kill -0 $pid 2> /dev/null || break
  sleep 0.1
done
if kill -0 $pid 2> /dev/null; then
  echo "Escape did not end the game"
  exit 1
fi
wait $pid
status=$?
trap - EXIT
rm -rf "$config"
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
echo ok
