#!/usr/bin/env bash
# Builds the Debian package from a copy of the working tree's tracked files,
# checks it with lintian, installs it, plays the installed game and editor as
# a new player would (fresh HOME, no display), checks the stages and the
# manual pages, and purges it again: the player's folder stays, the game goes.
# The machine is left with the orb package as it was found (not installed),
# whatever fails on the way. Needs root, or sudo.
#   scripts/package-test.sh
set -uo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive

# installed, config-files, unpacked...; nothing at all when dpkg never knew it.
orbStatus() {
  dpkg-query -W -f='${db:Status-Status}' orb 2> /dev/null
}
installedPackages() {
  dpkg-query -W -f='${db:Status-Status} ${Package}\n' | awk '$1 != "not-installed" { print $2 }' | sort
}
if [ -n "$(orbStatus)" ] && [ "$(orbStatus)" != not-installed ]; then
  echo "package-test: the orb package is installed already; purge it first (dpkg --purge orb)" >&2
  exit 1
fi

work=$(mktemp -d)
chmod 755 "$work"
installedBefore=$work/packages-before
log=$work/log
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
step() {
  echo "== $*"
}

# The orb package, and whatever installing it pulled in, go again however the
# test ends; what the test itself needs to build stays, as after
# scripts/install-packages.sh.
playing=
cleanUp() {
  # A game still running when the test is stopped.
  [ -z "$playing" ] || { kill -TERM "$playing" 2> /dev/null && wait "$playing" 2> /dev/null; }
  if [ -n "$(orbStatus)" ] && [ "$(orbStatus)" != not-installed ]; then
    "${sudo[@]}" dpkg --purge orb > /dev/null 2>&1 || echo "package-test: could not purge orb" >&2
  fi
  if [ -s "$installedBefore" ]; then
    local pulledIn
    pulledIn=$(installedPackages | comm -13 "$installedBefore" -)
    [ -z "$pulledIn" ] || "${sudo[@]}" apt-get purge -y -qq $pulledIn > /dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanUp EXIT

# Only the missing tools, as scripts/install-packages.sh installs; then the
# build dependencies debian/control names, if any are missing.
tools=(build-essential dpkg-dev debhelper lintian groff-base man-db)
missing=()
for package in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q "install ok installed" || missing+=("$package")
done
updated=false
install() {
  $updated || "${sudo[@]}" apt-get update -qq
  updated=true
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "$@" > /dev/null
}
if [ ${#missing[@]} -gt 0 ]; then
  step "installing ${missing[*]}"
  install "${missing[@]}" || exit 1
fi

step "copying the tracked files to $work/src"
mkdir "$work/src"
git ls-files -z | while IFS= read -r -d '' file; do
  # A tracked file deleted in the working tree is not part of it.
  [ -e "$file" ] || [ -L "$file" ] && printf '%s\0' "$file"
done | xargs -0 cp -a --parents -t "$work/src" || exit 1
tree() {
  (cd "$work/src" && find . | sort)
}
tree > "$work/tree-before"

if ! (cd "$work/src" && dpkg-checkbuilddeps > /dev/null 2>&1); then
  step "installing the build dependencies of debian/control"
  $updated || "${sudo[@]}" apt-get update -qq
  updated=true
  "${sudo[@]}" apt-get build-dep -y -qq --no-install-recommends "$work/src" > /dev/null || exit 1
fi

version=$(cd "$work/src" && dpkg-parsechangelog -S Version)
deb=$work/orb_${version}_$(dpkg --print-architecture).deb
step "building orb $version (dpkg-buildpackage -b; the log is shown on failure)"
(cd "$work/src" && nice -n 19 dpkg-buildpackage -b -us -uc) > "$log" 2>&1 || {
  tail -n 40 "$log"
  fail "dpkg-buildpackage failed"
  exit 1
}
[ -f "$deb" ] || { fail "no $deb"; exit 1; }

# The build writes only under debian/, and its clean takes that away again.
outside=$(tree | comm -13 "$work/tree-before" - | grep -v '^\./debian/')
[ -z "$outside" ] || fail "the build wrote outside debian/: $(echo $outside | head -c 300)"
(cd "$work/src" && debian/rules clean > /dev/null 2>&1) || fail "debian/rules clean failed"
left=$(tree | comm -13 "$work/tree-before" -)
[ -z "$left" ] || fail "debian/rules clean left: $(echo $left | head -c 300)"

step "lintian $(basename "$deb")"
# Every tag is shown; an error fails the test (lintian's own --fail-on).
lintian --fail-on error --display-info "$deb" > "$work/lintian" 2>&1
lintianStatus=$?
grep -v 'root privileges' "$work/lintian" | sed 's/^/  /'
[ $lintianStatus -eq 0 ] || fail "lintian reports errors, or could not check the package"

step "installing the package"
installedPackages > "$installedBefore"
if ! "${sudo[@]}" dpkg -i "$deb" > "$log" 2>&1; then
  "${sudo[@]}" apt-get install -f -y -qq --no-install-recommends >> "$log" 2>&1 || {
    cat "$log"
    fail "the package and its dependencies cannot be installed"
    exit 1
  }
fi

games=/usr/games content=/usr/share/games/orb
for program in orb orb-editor orb-stage; do
  [ -x "$games/$program" ] || fail "$games/$program was not installed"
done
[ "$("$games/orb" --version)" = "orb ${version%%-*}" ] || fail "orb --version says $("$games/orb" --version)"
for entry in io.github.orbgame.Orb io.github.orbgame.OrbEditor; do
  [ -f "/usr/share/applications/$entry.desktop" ] || fail "no desktop entry $entry"
  [ -f "/usr/share/icons/hicolor/48x48/apps/$entry.png" ] || fail "no 48-pixel icon $entry"
done
[ -f /usr/share/metainfo/io.github.orbgame.Orb.metainfo.xml ] || fail "no metainfo"

step "playing the installed game and editor with a fresh HOME and no display"
home=$work/home
user=$home/.local/share/orb
mkdir -p "$home" "$work/elsewhere"
chmod 755 "$home"
play() {
  local program=$1
  (cd "$work/elsewhere" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" \
    SDL_VIDEODRIVER=offscreen "$games/$program" > "$work/$program.log" 2>&1) &
  local pid=$!
  playing=$pid
  for _ in $(seq 300); do
    [ -d "$user/Resource/BData" ] && break
    kill -0 $pid 2> /dev/null || break
    sleep 0.1
  done
  sleep 3
  if ! kill -0 $pid 2> /dev/null; then
    wait $pid
    local status=$?
    playing=
    fail "$program ended on its own with status $status: $(tail -n 1 "$work/$program.log")"
    return 1
  fi
  kill -TERM $pid
  wait $pid
  local status=$?
  playing=
  [ $status -eq 0 ] || fail "$program ended with status $status on SIGTERM"
}
result=$user/Resource/BData/STAGE1/Result1.txt
if play orb; then
  [ -f "$result" ] || fail "the game did not give the player a folder with results"
  [ "$(readlink "$user/Shader")" = "$content/Shader" ] || fail "the player's folder does not link to $content"
  echo -n "score:5" > "$result"
  play orb-editor
fi

step "checking the installed stages and solving one"
"$games/orb-stage" check "$content/Resource/BData" > "$log" 2>&1 || { tail -n 5 "$log"; fail "the installed stages do not check"; }
tail -n 1 "$log" | grep -qx "18 stages, 0 problems" || fail "orb-stage check: $(tail -n 1 "$log")"
shots=$("$games/orb-stage" solve "$content/Resource/BData/STAGE1/Stage001.txt" | head -n 1)
[[ $shots =~ ^[0-9]+$ ]] || fail "orb-stage solve says $shots"

step "checking the manual pages"
for page in orb orb-editor orb-stage; do
  file=/usr/share/man/man6/$page.6.gz
  [ -f "$file" ] || { fail "no $file"; continue; }
  warnings=$(zcat "$file" | groff -ww -z -man 2>&1)
  [ -z "$warnings" ] || fail "$page.6: $warnings"
  MANWIDTH=80 man -l -P cat "$file" 2> "$log" | grep -q "^NAME" || fail "man -l $file does not render: $(head -n 1 "$log")"
done

step "purging the package"
"${sudo[@]}" dpkg --purge orb > "$log" 2>&1 || { cat "$log"; fail "dpkg --purge orb failed"; }
for gone in "$games/orb" "$games/orb-editor" "$games/orb-stage" "$content"; do
  [ ! -e "$gone" ] || fail "$gone is still there after the purge"
done
[ "$(cat "$result" 2> /dev/null)" = "score:5" ] || fail "the purge took the player's scores in $user"

minutes=$(((SECONDS - started) / 60)) seconds=$(((SECONDS - started) % 60))
if [ $failures -eq 0 ]; then
  echo "package-test: ok in ${minutes}m${seconds}s"
else
  echo "package-test: $failures failures in ${minutes}m${seconds}s"
  exit 1
fi
