#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: first the Release
# build, then the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the tests that start a search under
# ThreadSanitizer. Tests that need a window get a virtual X display
# started here.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-packages.sh

display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2> /dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
export DISPLAY=":$display"
# Keeps anything newer than OpenGL 3.3 from slipping in unnoticed.
export MESA_GL_VERSION_OVERRIDE=3.3

scripts/build.sh build
(cd build && ctest --output-on-failure --parallel "$(nproc)")

# Leaks are checked too. Two kinds of report are the system's, not ours: the
# session-bus library keeps its globals to exit (scripts/lsan.supp), and Mesa's
# driver, unloaded at exit, would take with it the only pointers to what it
# kept; loaded ahead of everything it stays mapped until the check has run.
scripts/build.sh build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORB_SANITIZE=ON -DORB_BUILD_BENCH=OFF
driver=$(ls /usr/lib/*/dri/swrast_dri.so 2> /dev/null | head -n 1 || true)
suppressions=$PWD/scripts/lsan.supp
(cd build-sanitize && LD_PRELOAD=$driver ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 \
  LSAN_OPTIONS=suppressions=$suppressions:print_suppressions=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure --parallel "$(nproc)")

# The searches beside the frames, under ThreadSanitizer.
scripts/tsan.sh build-tsan

# Every reader of files from outside fed a minute of damaged input.
scripts/fuzz.sh 60
