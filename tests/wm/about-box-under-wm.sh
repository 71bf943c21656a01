#!/usr/bin/env bash
# The About window's box as a user meets it under a window manager (openbox on a private X
# server): Help -> About, Alt+S for "System Info...", the box answered with Return; About is
# then the active window again, and Esc closes it.
#   about-box-under-wm.sh SOURCE_DIR PROGRAM [ARGUMENT...]
# The Windows program runs as `wine DorvansClearmark.exe`, inside scripts/wine-env.
set -euo pipefail
source_dir=$1
shift
source "$source_dir/scripts/private-x"
openbox >/dev/null 2>&1 &
wm=$!
program=
restore_unmanaged=
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ -n "$restore_unmanaged" ] &&
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    kill "$wm" "$private_x" 2>/dev/null || true
}
trap cleanup EXIT
if [ "$1" = wine ]; then
    # The test prefix leaves Wine's windows unmanaged; here the window manager places them.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1
    restore_unmanaged=1
fi
for _ in $(seq 50); do
    xdotool search --name . >/dev/null 2>&1 && xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 &&
        break
    sleep 0.1
done
"$@" >/dev/null 2>&1 &
program=$!

window() { # caption: the visible window with exactly that caption
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "FAIL: no window named '$1'" >&2
    return 1
}
active_name() { xdotool getwindowfocus getwindowname 2>/dev/null || echo "(none)"; }
until_active() { # caption
    for _ in $(seq 50); do
        [ "$(active_name)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

main=$(window "Dorvan's Clearmark")
xdotool windowactivate --sync "$main" 2>/dev/null || true
until_active "Dorvan's Clearmark" || { echo "FAIL: the main window is not active"; exit 1; }
# The menu bar holds Tools, then Help: its first entry is About, chosen with the mouse.
if [ "$1" = wine ]; then
    # Help, then its first entry below it.
    xdotool mousemove --window "$main" 55 10 click 1
    sleep 0.7
    xdotool mousemove --window "$main" 60 30 click 1
else
    # Tools, then the arrow keys to Help, whose first entry is highlighted.
    xdotool mousemove --window "$main" 10 8 click 1
    sleep 0.5
    xdotool key --delay 200 Right Return
fi
about=$(window "About Clearmark")
# A click on its text makes it the active window wherever the window manager left it.
xdotool mousemove --window "$about" 180 60 click 1
until_active "About Clearmark" || { echo "FAIL: About is not active once opened; '$(active_name)' is"; exit 1; }
xdotool key alt+s
box=$(window "Clearmark")
until_active "Clearmark" || { echo "FAIL: the box is not active; '$(active_name)' is"; exit 1; }
xdotool key Return
for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^Clearmark\$" >/dev/null 2>&1 || break
    sleep 0.1
done
if ! until_active "About Clearmark"; then
    echo "FAIL: after the box, '$(active_name)' is active, not About"
    exit 1
fi
# About stays out of the task bar, the main window in it.
if [ "$1" = wine ]; then
    xprop -id "$about" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
        { echo "FAIL: About is in the task bar"; exit 1; }
    if xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; then
        echo "FAIL: the main window is not in the task bar"
        exit 1
    fi
fi
xdotool key Escape
for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^About Clearmark\$" >/dev/null 2>&1 || {
        echo "About active after its box, and closed by Esc"
        exit 0
    }
    sleep 0.1
done
echo "FAIL: Esc did not close About (the active window is '$(active_name)')"
exit 1
