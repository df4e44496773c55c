#!/usr/bin/env bash
# `make demo` (and `make run` without a display): a short tour of korvelctl against the virtual keyboard, whose memory lives in a
# temporary state file for the length of the tour.
set -euo pipefail
bin="${1:-build/bin}"
ctl="$bin/korvelctl"
state="$(mktemp -d)/keyboard.state"
trap 'rm -rf "$(dirname "$state")"' EXIT

show() {
    echo
    echo "\$ korvelctl $*"
    "$ctl" "$@"
}

echo "Korvel demonstration with the virtual keyboard (state in $state)"
show --simulate="$state" info
show --simulate="$state" --trace profile 2
show --simulate="$state" profile
show --simulate="$state" info
echo
echo "Trace lines: '>' a report written to the keyboard, '<' its reply (64 bytes in hex)."
