#!/usr/bin/env bash
# Renders the reference pictures' views with this build and makes them the
# new references (tests/reference-pictures/), after writing a sheet of old,
# new and difference side by side. Look at the sheet before committing.
#   scripts/update-reference-pictures.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target orb-harness orb-pictures runtime --parallel "$(nproc)" > /dev/null
exec tests/system/reference_pictures.sh "$build" "$build/reference-pictures" --update
