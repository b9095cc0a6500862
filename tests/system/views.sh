# Sourced by the views tests: plays docs/NAME.sh in a window with screenshots
# into ARTEFACT_DIR, then headless, into WORK/window and WORK/headless, and
# fails unless each named trace or draw log is the same in both runs.
#   play_views_both_ways NAME HARNESS RUNTIME ARTEFACT_DIR WORK LOG...
play_views_both_ways() {
  local name=$1 harness=$2 runtime=$3 artefacts=$4 work=$5
  shift 5
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  rm -rf "$artefacts"
  "$root/docs/$name.sh" "$harness" "$runtime" "$artefacts" "$work/window"
  "$root/docs/$name.sh" "$harness" "$runtime" "$artefacts" "$work/headless" --headless
  local log
  for log in "$@"; do
    cmp -s "$work/window/$log.jsonl" "$work/headless/$log.jsonl" ||
      { echo "$log differs between the window and the headless run"; return 1; }
  done
}
