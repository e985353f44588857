#!/usr/bin/env bash
# Installs the Debian packages the game needs (when missing), configures and builds.
# Idempotent: a second run with nothing changed only checks and returns quickly.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${NIGHTRUN_BUILD_DIR:-$root/build}"

packages=(build-essential cmake ninja-build pkg-config
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libopenal-dev libalut-dev libopenal1 libvorbis-dev libbullet-dev
  libfreetype-dev fonts-dejavu-core libpng-dev libgtest-dev
  xvfb xauth x11-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${NIGHTRUN_CMAKE_ARGS:-}
fi
cmake --build "$build" -j "$(nproc)"
