#!/usr/bin/env bash
# Every figure in one go, on a built tree: Mesa's frame counter over the game
# and over the peer (Neverball, when installed), the real game frame and its CPU
# share, the engine's frame by pass, scene start-up and frame costs, sound,
# pacing, the solver, headless play, and the frame-time plot in
# docs/frame-times.png. Needs a display for the real device (./test.sh's
# Xvfb or any X server); without one the renderer works off-screen.
#   bench/figures.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
export MESA_GL_VERSION_OVERRIDE=${MESA_GL_VERSION_OVERRIDE:-3.3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

section() { printf '\n== %s\n' "$1"; }

section "The frame counter: ours in the window and the peer's, in one run (bench/frame_counter.sh)"
"$root/bench/frame_counter.sh" "$build"

section "Game frames over stage 3-6 played by its solution (bench/play_frames)"
"$build/bench/play_frames" "$work/times.tsv"
"$build/bench/frame_plot" "$work/times.tsv" "$root/docs/frame-times.png" \
  "Game frames on the software renderer, 1280 x 720 (bench/play_frames)"
echo "plot: docs/frame-times.png"

cd "$build/runtime"
section "The engine's frame by pass (bench/render_frame)"
"$build/bench/render_frame"
section "Scenes: start-up and frames (bench/scene_figures)"
"$build/bench/scene_figures"
section "Pacing of the real loop (bench/frame_period)"
"$build/bench/frame_period"
section "Sound (bench/sound_figures)"
"$build/bench/sound_figures"
section "Game update on a busy stage (bench/game_frame)"
"$build/bench/game_frame" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
section "The solver over all 18 stages (orb-stage check --stats)"
"$build/orb-stage" check --stats "$root/data/Resource/BData" | tail -n 4
section "Headless play through the harness (bench/harness_play.sh)"
"$root/bench/harness_play.sh" "$build/orb-harness"
