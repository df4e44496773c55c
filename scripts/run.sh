#!/usr/bin/env bash
# `make run`: the desktop program against the virtual keyboard. Its memory and the Documents
# folder it uses live in the build folder, so trying the program changes nothing of yours.
# Without a display, a short tour of korvelctl stands in for the window.
set -euo pipefail
bin="${1:-build/bin}"
sandbox="$(cd "$bin/.." && pwd)/run"
mkdir -p "$sandbox/Documents"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: showing korvelctl with the virtual keyboard instead of the window."
    exec bash "$(dirname "$0")/demo.sh" "$bin"
fi
exec "$bin/korvel" --simulate="$sandbox/keyboard.state" --documents "$sandbox/Documents"
