#!/usr/bin/env bash
# The tests that start a search beside the frames (the play aids, the stage
# select's par cache, the editor's check, the searches themselves), built
# with ThreadSanitizer and run as unit and device tests and through the
# real harness. Any race report fails the run.
#   scripts/tsan.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-tsan}
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORB_SANITIZE_THREAD=ON -DORB_BUILD_BENCH=OFF
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1"
# OpenAL Soft would load PulseAudio's client, which is not built for
# ThreadSanitizer and whose own locking it reports; the tests mix sound
# through the loopback device, which needs no system backend.
export ALSOFT_DRIVERS=null
searches='SearchMemory|Assist|GroupPars|EditScene|^assists\.|^editor\.'
(cd "$dir" && ctest -R "$searches" --output-on-failure --parallel "$(nproc)")
