#!/usr/bin/env bash
# Configures and builds one build directory (default build/, Release), which
# also assembles its runtime directory. Extra arguments go to CMake.
#   scripts/build.sh [DIR] [CMAKE OPTION...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" > /dev/null
cmake --build "$dir" --parallel "$(nproc)"
