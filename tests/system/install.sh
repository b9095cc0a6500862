#!/usr/bin/env bash
# An install into a fresh prefix is a desktop game: its entries, metainfo and
# icons pass the desktop's validators, its stages check, and the installed game
# and editor give a new player a data folder of their own (the shipped stages
# and results copied, the rest linked), keep the player's scores across runs,
# and never write into the prefix.
# install.sh CMAKE BUILD_DIR
set -uo pipefail
cmake=$1 build=$(realpath "$2")
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 || {
  cat "$work/install.log"
  exit 1
}
for program in orb orb-editor orb-stage; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program was not installed"
  page=$prefix/share/man/man6/$program.6
  if [ ! -f "$page" ]; then
    fail "share/man/man6/$program.6 was not installed"
  elif ! warnings=$(groff -ww -z -man "$page" 2>&1) || [ -n "$warnings" ]; then
    fail "$program.6 does not format cleanly: $warnings"
  elif ! grep -q "^\.TH .* \"$("$prefix/bin/orb" --version)\"" "$page"; then
    fail "$program.6 is not for $("$prefix/bin/orb" --version)"
  fi
done

game=io.github.orbgame.Orb editor=io.github.orbgame.OrbEditor
for id in $game $editor; do
  entry=$prefix/share/applications/$id.desktop
  [ -f "$entry" ] || { fail "$id.desktop was not installed"; continue; }
  desktop-file-validate "$entry" || fail "$id.desktop does not validate"
done
grep -qx 'Exec=orb-editor' "$prefix/share/applications/$editor.desktop" || fail "the editor's entry does not start orb-editor"

# The metainfo alone, then with the tree it names (its desktop entry).
# Pedantic notes are fine; a warning or an error is not.
metainfo=$prefix/share/metainfo/$game.metainfo.xml
{ appstreamcli validate --no-net "$metainfo" && appstreamcli validate-tree --no-net "$prefix"; } > "$work/appstream.log" 2>&1 ||
  fail "the metainfo does not validate"
if grep -E '^ *[EW]: ' "$work/appstream.log"; then
  fail "the metainfo has warnings or errors"
fi

# Each icon at each size, and each showing both a white and a black block.
python3 - "$here" "$prefix/share/icons/hicolor" $game $editor << 'EOF' || fail "the icons are missing or wrong"
import os, sys
sys.path.insert(0, sys.argv[1])
from png import Picture
bad = 0
for size in (16, 32, 48, 64, 128, 256):
    for id in sys.argv[3:]:
        path = os.path.join(sys.argv[2], f'{size}x{size}', 'apps', id + '.png')
        if not os.path.exists(path):
            print(f'missing: {path}')
            bad += 1
            continue
        icon = Picture(path)
        pixels = [icon.pixel(x, y) for y in range(icon.height) for x in range(icon.width)]
        if (icon.width, icon.height) != (size, size):
            print(f'{path}: {icon.width}x{icon.height}')
            bad += 1
        elif not any(min(p) > 200 for p in pixels) or not any(max(p) < 80 for p in pixels):
            print(f'{path}: no white or no black block to see')
            bad += 1
sys.exit(bad > 0)
EOF

stages=$prefix/share/games/orb/Resource/BData
"$prefix/bin/orb-stage" check "$stages" > "$work/check.log" 2>&1 || { fail "the installed stages do not check"; cat "$work/check.log"; }
[ "$(find "$stages" -name 'Stage*.txt' | wc -l)" -eq 18 ] || fail "not 18 installed stages"
results=("$stages"/STAGE*/Result*.txt)
[ ${#results[@]} -eq 18 ] || fail "not 18 installed result files"
for result in "${results[@]}"; do
  [ "$(cat "$result")" = "score:0" ] || fail "$result holds a score"
done
readOnly=(Resource/Data Resource/Texture Resource/Sound Shader)
for folder in "${readOnly[@]}"; do
  [ -n "$(ls -A "$prefix/share/games/orb/$folder" 2> /dev/null)" ] || fail "share/games/orb/$folder is missing or empty"
done
hidden=$(find "$prefix" -name '.*')
[ -z "$hidden" ] || fail "build leftovers installed: $hidden"

# Types, modes, link targets and contents of everything under the prefix.
listing() {
  (cd "$prefix" && find . -printf '%y %m %p %l\n' | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum)
}
bin=bin
listing > "$work/before"

# The installed programs, run as a player would from a desktop: somewhere
# else, with a fresh HOME and no display (SDL draws off-screen). Each runs
# until it has shown frames for a while and is then ended as a session is.
home=$work/home
mkdir -p "$home" "$work/elsewhere"
user=$home/.local/share/orb
run() {
  local program=$1
  (cd "$work/elsewhere" && exec env -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" \
    SDL_VIDEODRIVER=offscreen "$prefix/$bin/$program" > "$work/$program.log" 2>&1) &
  local pid=$!
  for _ in $(seq 300); do
    [ -d "$user/Resource/BData" ] && break
    kill -0 $pid 2> /dev/null || break
    sleep 0.1
  done
  sleep 3
  if ! kill -0 $pid 2> /dev/null; then
    wait $pid
    fail "$program ended on its own with status $?: $(tail -n 1 "$work/$program.log")"
    return 1
  fi
  kill -TERM $pid
  wait $pid
  local status=$?
  [ $status -eq 0 ] || fail "$program ended with status $status on SIGTERM"
}

result=$user/Resource/BData/STAGE1/Result1.txt
if run orb; then
  [ -f "$result" ] && [ ! -L "$result" ] || fail "the first run did not copy the result files into $user"
  [ "$(find "$user/Resource/BData" -name 'Stage*.txt' | wc -l)" -eq 18 ] || fail "the first run did not copy the 18 stages"
  for folder in "${readOnly[@]}"; do
    [ "$(readlink "$user/$folder")" = "$prefix/share/games/orb/$folder" ] || fail "$user/$folder does not link to the install"
  done
  # A best score set since; the editor starts in the same folder and keeps it.
  echo -n "score:5" > "$result"
  run orb-editor && { [ "$(cat "$result")" = "score:5" ] || fail "a later run lost the player's score"; }
fi

listing > "$work/after"
diff "$work/before" "$work/after" > /dev/null || {
  fail "running the game changed the install"
  diff "$work/before" "$work/after" | head -20
}

# Just for the player: the prefix ~/.local, whose share/ also holds the
# player's folder. The install goes to ~/.local/share/games/orb, the scores
# stay in ~/.local/share/orb, and installing again (an update) neither resets
# a score nor finds the install changed by play.
home=$work/home-local
prefix=$home/.local
user=$home/.local/share/orb
result=$user/Resource/BData/STAGE1/Result1.txt
"$cmake" --install "$build" --prefix "$prefix" > "$work/install-local.log" 2>&1 || fail "cannot install into ~/.local"
installed() {
  [ -s "$build/install_manifest.txt" ] || fail "no install manifest in $build"
  (cd "$prefix" && sed "s|^$prefix/||" "$build/install_manifest.txt" | sort | xargs sha256sum)
}
installed > "$work/installed-before"
if run orb; then
  [ "$(readlink "$user/Shader")" = "$prefix/share/games/orb/Shader" ] || fail "the player's folder in ~/.local does not link to the install"
  echo -n "score:5" > "$result"
  installed > "$work/installed-after"
  diff "$work/installed-before" "$work/installed-after" > /dev/null || fail "playing changed the install in ~/.local"
  "$cmake" --install "$build" --prefix "$prefix" > "$work/install-local.log" 2>&1 || fail "cannot install into ~/.local again"
  [ "$(cat "$result")" = "score:5" ] || fail "installing again into ~/.local reset the player's score: $(cat "$result")"
  run orb-editor && { [ "$(cat "$result")" = "score:5" ] || fail "a run after the update lost the player's score"; }
fi

[ $failures -eq 0 ] && echo ok
