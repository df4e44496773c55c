#!/usr/bin/env bash
# Takes the README's pictures under Xvfb, with the virtual keyboard:
#   docs/main-window.png      the main window
#   docs/lighting-panel.png   the lighting panel on the custom effect, with painted keys
#   docs/profile-manager.png  the profile manager over the window
#   docs/window-menu.png      the window's menu, in the application style
#   docs/message-box.png      a question from the window (Restore defaults)
#   docs/update-dialog.png    the firmware update dialog, opened from the window's menu
#   docs/macro-editor.png     the macro editor, with a macro added
#   docs/main-window-scale2.png  the main window on a screen of device pixel ratio 2 (Qt's scale
#                             factor 2), drawn from the skin's 2× pictures
# The keyboard is prepared with korvelctl; the window is clicked through with xdotool at the
# places its skin gives.
set -euo pipefail
bin="$(cd "${1:-build/bin}" && pwd)"
docs="$(pwd)/docs"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Documents" "$docs"
state="$work/keyboard.state"
ctl() { "$bin/korvelctl" --simulate="$state" --documents "$work/Documents" "$@"; }
# The custom effect: keys in a deep base colour, the paint colour ready for the keys clicked below.
ctl lighting set effect 20
ctl lighting set base-color '#3a2a8c'
ctl lighting set paint-color '#27c4f5'

cat > "$work/shot.sh" <<INNER
#!/usr/bin/env bash
set -euo pipefail
skin="$bin/Skins/Main.ini"
# The middle of a control, in the dialog's coordinates, from its BUTTONINFO rectangle.
middle() {
    awk -F'[=,]' -v key="\$1" '\$1 == key { print int(\$2 + \$4 / 2), int(\$3 + \$5 / 2) }' "\$skin"
}
click() {
    read -r cx cy < <(middle "\$1")
    xdotool mousemove \$((X + cx)) \$((Y + cy)) click 1
    sleep 0.3
}
shoot() {
    xdotool mousemove 0 0
    sleep 0.6
    import -window root -crop "\$2" +repage "$docs/\$1"
    echo "wrote docs/\$1"
}
pid=""
trap 'kill \$pid 2>/dev/null || true; wait \$pid 2>/dev/null || true' EXIT
start_window() {
    "$bin/korvel" --simulate="$state" --documents "$work/Documents" &
    pid=\$!
    wid=""
    for _ in \$(seq 60); do
        wid=\$(xdotool search --onlyvisible --name "Gaming Keyboard Settings" 2>/dev/null | head -n 1 || true)
        [ -n "\$wid" ] && break
        sleep 0.25
    done
    [ -n "\$wid" ] || { echo "the window did not appear" >&2; exit 1; }
    sleep 1
    eval "\$(xdotool getwindowgeometry --shell "\$wid")"
    window="\${WIDTH}x\${HEIGHT}+\${X}+\${Y}"
}
# At a scale factor above 1 (the first run below) only the main window, as it first shows.
if [ -n "\${QT_SCALE_FACTOR:-}" ]; then
    start_window
    shoot "main-window-scale\${QT_SCALE_FACTOR}.png" "\$window"
    exit 0
fi
start_window
shoot main-window.png "\$window"

# The window's menu, then the question of Restore defaults (answered No with Escape).
click CONTROL_MENU
sleep 0.4
# The menu opens at the mouse and may reach past the window's right edge.
import -window root -crop "\$((WIDTH + 120))x\${HEIGHT}+\${X}+\${Y}" +repage "$docs/window-menu.png"
echo "wrote docs/window-menu.png"
xdotool key Escape
sleep 0.3
click FUNC_DEFAULT
sleep 0.4
import -window root -crop "\${WIDTH}x\${HEIGHT}+\${X}+\${Y}" +repage "$docs/message-box.png"
echo "wrote docs/message-box.png"
xdotool key Escape
sleep 0.3

# The macro editor from the Macros button, with a macro added (its name taken with Enter).
click FUNC_MACRO
sleep 0.6
macro="\$(xdotool search --onlyvisible --name "Gaming Keyboard Settings" | tail -n 1)"
eval "\$(xdotool getwindowgeometry --shell "\$macro" | sed 's/^/M/')"
xdotool mousemove \$((MX + 48)) \$((MY + 150)) click 1
sleep 0.4
xdotool key Return
shoot macro-editor.png "\${MWIDTH}x\${MHEIGHT}+\${MX}+\${MY}"
xdotool mousemove \$((MX + MWIDTH - 60)) \$((MY + MHEIGHT - 32)) click 1
sleep 0.3

# Panel on, then paint W A S D, the arrows, Space and the left Shift and Ctrl.
click CONTROL_DengStaPic
for key in KEY_011 KEY_01E KEY_01F KEY_020 KEY_0C8 KEY_0CB KEY_0D0 KEY_0CD KEY_039 KEY_02A \
           KEY_01D; do
    click "\$key"
done
shoot lighting-panel.png "\$window"

# The profile manager, opened from the scene-mode button, with the window around it.
click CONTROL_DengStaPic
click FUNC_PROFILES
sleep 0.5
shoot profile-manager.png "\$window"

# The update dialog, from the third entry of the window's menu, in a fresh window.
kill \$pid; wait \$pid 2>/dev/null || true
start_window
click CONTROL_MENU
xdotool key Down Down Down Return
sleep 0.8
import -window root -crop "\${WIDTH}x\${HEIGHT}+\${X}+\${Y}" +repage "$docs/update-dialog.png"
echo "wrote docs/update-dialog.png"
INNER
chmod +x "$work/shot.sh"
# First the window at scale 2, on the keyboard as it is before the clicks of the other pictures.
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2600x1500x24" "$work/shot.sh"
xvfb-run -a -s "-screen 0 1400x900x24" "$work/shot.sh"
