#!/usr/bin/env bash
# Installs, with apt, only the Debian packages that the Makefile's targets need and that are
# missing. Safe to run again and again: when everything is present it changes nothing.
set -euo pipefail

packages=(
  # build, test (the layer and format checks, the AppStream check)
  g++ cmake ninja-build pkg-config make python3 clang-format appstream
  libgtest-dev libgmock-dev libbenchmark-dev
  libhidapi-dev libcli11-dev nlohmann-json3-dev
  qt6-base-dev libx11-dev
  # Qt's own texts (standard buttons, file and colour dialogs) in Chinese
  qt6-translations-l10n
  # the G keys: the kernel's virtual keyboard and the X server's XTest extension
  libevdev-dev libxtst-dev
  help2man fonts-dejavu-core
  # the desktop's session bus: the window's tests run a private one
  dbus-daemon
  # the shell completions are tried in each shell
  bash zsh fish
  # package (CPack reads the programs with file and dpkg-shlibdeps)
  dpkg-dev file
  # screenshot, bench-startup (GNU time -v for the peak memory); the G keys' test types into an
  # X server of its own
  xvfb xauth xdotool imagemagick fonts-wqy-microhei time
  # fuzz (libFuzzer comes with clang)
  clang
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
