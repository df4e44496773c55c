#!/usr/bin/env bash
# Takes docs/main-window.png: the main window with the virtual keyboard, under Xvfb.
set -euo pipefail
bin="$(cd "${1:-build/bin}" && pwd)"
out="$(pwd)/docs/main-window.png"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Documents" "$(dirname "$out")"
cat > "$work/shot.sh" <<INNER
#!/usr/bin/env bash
"$bin/korvel" --simulate --documents "$work/Documents" &
pid=\$!
sleep 3
import -window root -crop 1200x640+0+0 "$out"
kill \$pid
wait \$pid 2>/dev/null || true
INNER
chmod +x "$work/shot.sh"
xvfb-run -a -s "-screen 0 1200x640x24" "$work/shot.sh"
echo "wrote $out"
