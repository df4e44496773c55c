#!/usr/bin/env bash
# Installs, with apt, only the Debian packages the build needs that are missing.
# Safe to run again and again: when everything is present it changes nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make python3 clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  libhidapi-dev libcli11-dev nlohmann-json3-dev
  qt6-base-dev libx11-dev libxtst-dev libevdev-dev
  xvfb xauth xdotool imagemagick fonts-wqy-microhei fonts-dejavu-core
  help2man dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || echo "install-deps: apt-get update failed; trying with the cached package lists" >&2
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
