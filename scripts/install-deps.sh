#!/usr/bin/env bash
# Installs the Debian 12 packages Mirefell needs to build, run and test, when
# any is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libepoxy-dev libopenal-dev libstb-dev libglm-dev libdbus-1-dev
  libboost-serialization-dev nlohmann-json3-dev libfreetype-dev fonts-dejavu-core
  fonts-dejavu-extra fonts-liberation2
  libgl1-mesa-dri libegl-mesa0 libegl1 libgles2
  libgtest-dev libgmock-dev libbenchmark-dev glslang-tools
  clang libclang-rt-14-dev
  xvfb xauth xdotool imagemagick dbus-daemon
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
run_as_root=()
[[ $(id -u) -eq 0 ]] || run_as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -qq
"${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
