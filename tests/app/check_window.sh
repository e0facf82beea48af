#!/bin/sh
# Under an X server: the probe's window must have a client area of exactly 448 x 640, tell the
# window manager that it cannot be resized, survive a request the server refuses, and end with
# status 0 when asked to quit.
set -u
probe=$1
title='Quorvantile window probe'

"$probe" &
pid=$!
trap 'kill "$pid" 2>/dev/null' EXIT

fail() { echo "check_window: $*" >&2; exit 1; }

window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
[ -n "$window" ] || fail "no window titled '$title' appeared"

info=$(xwininfo -id "$window")
echo "$info" | grep -q 'Width: 448$' || fail "client width is not 448: $info"
echo "$info" | grep -q 'Height: 640$' || fail "client height is not 640: $info"

hints=$(xprop -id "$window" WM_NORMAL_HINTS)
echo "$hints" | grep -q 'minimum size: 448 by 640' || fail "no fixed minimum size: $hints"
echo "$hints" | grep -q 'maximum size: 448 by 640' || fail "no fixed maximum size: $hints"

sleep 0.5  # a few frames, the first of which makes the refused request
kill -TERM "$pid"
wait "$pid"
status=$?
trap - EXIT
[ "$status" -eq 0 ] || fail "the probe ended with status $status instead of 0"
echo "check_window: 448 x 640, fixed size, quit with status 0"
