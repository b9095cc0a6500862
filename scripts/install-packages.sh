#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and be tested, and
# only those that are missing. Quiet when there is nothing to do.
set -euo pipefail

packages=(
  g++ cmake make pkg-config python3
  libsdl2-dev libepoxy-dev libgl1-mesa-dri libegl1 libegl-mesa0
  libassimp-dev zlib1g-dev libturbojpeg0-dev libglm-dev libstb-dev fonts-dejavu-core libopenal-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xfonts-base xdotool x11-utils
  clang libclang-rt-dev
  assimp-testmodels
  desktop-file-utils appstream groff-base
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
