# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for driving the desktop the way a user does: every pointer move, click and key press
# goes through the X test extension (xdotool without --window), so the X server delivers it to
# whatever window is really under the pointer or has the focus. Sourced; needs DISPLAY.

# Seconds any one wait may take; slow builds (sanitizers) stay well inside it.
wait_limit=${VELMARO_DESKTOP_WAIT:-30}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs the command until it succeeds, for at most wait_limit seconds; false if it never did.
poll() {
    local deadline=$((SECONDS + wait_limit))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.02
    done
}

# The title of window $1 as window managers show it (_NET_WM_NAME, UTF-8). The older WM_NAME is
# no use: in a locale without a character set Qt fills it with mangled bytes.
window_title() {
    xprop -id "$1" -notype _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p'
}

# The id of the program's visible window whose title is exactly $1, or nothing.
window_named() {
    local id
    for id in $(xdotool search --onlyvisible --classname '^velmaro$' 2>/dev/null); do
        if [ "$(window_title "$id")" = "$1" ]; then
            echo "$id"
            return
        fi
    done
}

have_window() {
    [ -n "$(window_named "$1")" ]
}

no_window() {
    [ -z "$(window_named "$1")" ]
}

# Waits for the window titled $1 and prints its id.
wait_window() {
    poll have_window "$1" || fail "no window \"$1\" within ${wait_limit} s"
    window_named "$1"
}

wait_window_gone() {
    poll no_window "$1" || fail "window \"$1\" still open after ${wait_limit} s"
}

active_window_is() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]
}

# Waits until the window $1 has the keyboard focus.
wait_focus() {
    poll active_window_is "$1" || fail "window $1 never got the focus"
}

# The client area of window $1 as "x y width height" in screen coordinates.
client_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                             /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
                             END { print x, y, w, h }'
}

# The outer rectangle of window $1, its frame included, as "left top width height": the client
# area widened by the frame extents the window manager reports (none without a frame).
outer_geometry() {
    local x y w h left right top bottom extents
    read -r x y w h <<< "$(client_geometry "$1")"
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ' ')
    IFS=, read -r left right top bottom <<< "${extents:-0,0,0,0}"
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

# A left click at $2, $3 inside the client area of window $1.
click_in() {
    local x y w h
    read -r x y w h <<< "$(client_geometry "$1")"
    point_at $((x + $2)) $((y + $3))
    xdotool click 1
}

# Moves the pointer to $1, $2 by way of the screen's corner: a move to where the pointer already
# is would report no motion, and a window just mapped there might not see the pointer enter.
point_at() {
    xdotool mousemove 0 0 mousemove "$1" "$2"
}

# Whether window $1 is maximised in both directions.
maximised() {
    xprop -id "$1" _NET_WM_STATE | grep -q '_NET_WM_STATE_MAXIMIZED_VERT, _NET_WM_STATE_MAXIMIZED_HORZ'
}

not_maximised() {
    ! maximised "$1"
}

# The window manager's frame around window $1: its ancestor just below the root window.
frame_of() {
    local window=$1 parent root
    root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
    while parent=$(xwininfo -tree -id "$window" | awk '/Parent window id:/ { print $4 }') &&
        [ "$parent" != "$root" ]; do
        window=$parent
    done
    echo "$window"
}
