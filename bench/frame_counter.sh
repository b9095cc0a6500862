#!/usr/bin/env bash
# The frame counter's figures: Mesa's own counter (GALLIUM_HUD=fps, dumped
# every half second) over the game in its window, frames back to back, and
# over the peer, Neverball (Debian's package, its first level, the same
# renderer and window size), when it is installed: ROUNDS rounds (default 3),
# each scene once a round, interleaved, so that ours and the peer's share the
# machine's state. Prints each run's median period as milliseconds a frame and
# as a multiple of the 16 ms budget, the resident memory at the end, and ours
# over the peer's in the same round. Needs a display (./test.sh's Xvfb will do).
#   bench/frame_counter.sh BUILD_DIR [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
rounds=${2:-3}
peer=/usr/games/neverball
export MESA_GL_VERSION_OVERRIDE=${MESA_GL_VERSION_OVERRIDE:-3.3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A player's folder of our own: the runtime's content, the shipped stages.
data=$work/data
source "$root/scripts/content-links.sh"
link_content "$build/runtime" "$data"
cp -r "$root/data/Resource/BData" "$data/Resource/"

"$build/orb-stage" keys "$root/data/Resource/BData/STAGE3/Stage006.txt" > "$work/solution.keys"
solved=$(tail -n 1 "$work/solution.keys" | awk '{ print $1 }')
for ((frame = 30; frame < 1200; frame += 90)); do
  printf '%s Right down\n%s Right up\n' "$frame" "$((frame + 1))"
done > "$work/turning.keys"

# The median of a counter's dump, in ms a frame, the first second left out.
median_ms() {
  python3 - "$1" << 'PY'
import statistics, sys
fps = [float(v) for v in open(sys.argv[1]) if v.strip()][2:]
print(f"{1000 / statistics.median(fps):.1f}" if fps else "nan")
PY
}

# counted NAME COMMAND...: runs it under the counter; its median goes to $work/NAME.ms.
counted() {
  local name=$1
  shift
  rm -rf "$work/hud" && mkdir "$work/hud"
  GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=0.5 GALLIUM_HUD_DUMP_DIR=$work/hud "$@" > /dev/null 2>&1 || true
  median_ms "$work/hud/fps" > "$work/$name.ms"
}

ours() {
  local name=$1 frames=$2
  shift 2
  counted "$name" "$build/orb-harness" --data "$data" --frames "$frames" --memory-log "$work/$name.rss" "$@"
}

# The peer's first level, for 20 s, its resident size read just before the end.
theirs() {
  mkdir -p "$work/home/.neverball"
  printf 'fullscreen 0\nwidth 1280\nheight 720\nvsync 0\n' > "$work/home/.neverball/neverballrc"
  rm -rf "$work/hud" && mkdir "$work/hud"
  HOME=$work/home GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=0.5 GALLIUM_HUD_DUMP_DIR=$work/hud \
    timeout 20 "$peer" --level map-easy/easy.sol > /dev/null 2>&1 &
  local pid=$!
  sleep 19
  awk '/^VmRSS/ { print int($2 / 1024) }' "/proc/$(pgrep -P "$pid" -n || echo "$pid")/status" \
    > "$work/peer.mib" 2> /dev/null || echo "?" > "$work/peer.mib"
  wait "$pid" || true
  median_ms "$work/hud/fps" > "$work/peer.ms"
}

rss() { [ -s "$1" ] && awk 'END { printf "%d", $2 / 1024 }' "$1" || printf '?'; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}' if '$1' != 'nan' and '$2' != 'nan' else 'nan')"; }

printf '%-6s %-34s %9s %8s %8s %10s\n' round scene "ms/frame" "x 16 ms" "MiB" "ours/peer"
for ((round = 1; round <= rounds; round++)); do
  ours game $((solved + 300)) --scene game --group 3 --stage 6 --keys "$work/solution.keys"
  ours assists $((solved + 300)) --assists --scene game --group 3 --stage 6 --keys "$work/solution.keys"
  ours select 1200 --scene select --group 3 --keys "$work/turning.keys"
  ours title 600 --scene title
  [ -x "$peer" ] && theirs
  for scene in "game:game, stage 3-6 by its solution" "assists:the same with the play aids" \
    "select:select, hard group, turning" "title:title"; do
    name=${scene%%:*}
    ms=$(cat "$work/$name.ms")
    versus=$([ -x "$peer" ] && ratio "$ms" "$(cat "$work/peer.ms")" || echo "-")
    printf '%-6s %-34s %9s %8s %8s %10s\n' "$round" "${scene#*:}" "$ms" "$(ratio "$ms" 16)" \
      "$(rss "$work/$name.rss")" "$versus"
  done
  if [ -x "$peer" ]; then
    printf '%-6s %-34s %9s %8s %8s %10s\n' "$round" "peer: Neverball, first level" "$(cat "$work/peer.ms")" \
      "$(ratio "$(cat "$work/peer.ms")" 16)" "$(cat "$work/peer.mib")" "1.00"
  fi
done
[ -x "$peer" ] || echo "(Neverball is not installed: apt-get install neverball gives the peer's figures)"
