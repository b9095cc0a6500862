#!/usr/bin/env bash
# Configures and builds the Release build in build/, which also assembles the
# runtime directory build/runtime.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build --parallel "$(nproc)"
