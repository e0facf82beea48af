#!/usr/bin/env bash
# Full screen and pause with a window manager (openbox) in a virtual X server of 1920 x 1440:
# --fullscreen covers the screen with the picture at scale 2 at (512, 80), crisp, black around it;
# a click at a screen point pours at the cell under it, a point beside the picture moves the cursor
# to the nearest cell; Escape gives the 448 x 640 window back and F11 covers the screen again; P
# holds the falling beads still under the title "Quorvantile (paused)", and P again lets them fall.
# usage: fullscreen_e2e.sh GAME SEND-CLOSE-REQUEST ASSETS-DIR
set -uo pipefail

game=$1 send_close=$2 assets=$3
source "$(dirname "$0")/e2e_lib.sh"
open_x_session "$assets" 1920x1440
unset GDK_SCALE

wm_pid=""
cleanup_extra() { [[ -n $wm_pid ]] && kill "$wm_pid" 2>/dev/null; }
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    echo "FAILED: the window manager did not start"; cat "$work/openbox.log"; exit 1
fi

# The window's place and size on the screen, as "X Y WIDTH HEIGHT".
geometry() {
    xwininfo -id "$wid" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                               /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
# Waits up to ten seconds for the window's geometry to become $1.
wait_for_geometry() {
    for _ in $(seq 100); do [[ $(geometry) == "$1" ]] && return 0; sleep 0.1; done
    return 1
}
covers_screen() { wait_for_geometry "0 0 1920 1440"; }
# Waits up to ten seconds for the window to be WIDTH x HEIGHT, wherever the window manager puts it.
window_size_is() {
    for _ in $(seq 100); do [[ $(geometry) == *" $1 $2" ]] && return 0; sleep 0.1; done
    return 1
}
black() { [[ $(brightness "$1" "$2") == 0 ]]; }

start_game_window "$work/play" "$game" --fullscreen
check "--fullscreen covers the 1920 x 1440 screen ($(geometry))" covers_screen
# The client area at scale 2 is 896 x 1280, centred: from (512, 80). The score display's white
# box is its top-left corner.
score_display_at_corner() { above "$(brightness full 64x32+512+80)" 0.5; }
check "the picture starts at (512, 80): the score display is there" shot_until full score_display_at_corner
check "...and black left of it" black full 512x1440+0+0
check "...right of it" black full 512x1440+1408+0
check "...above it" black full 896x80+512+0
check "...and below it" black full 896x80+512+1360
convert "$work/full.png" -crop 896x1280+512+80 +repage "$work/picture.png"
convert "$work/picture.png" -sample 50% -sample 200% "$work/blocks.png"
mixed=$(compare -metric AE "$work/picture.png" "$work/blocks.png" null: 2>&1 | cut -d' ' -f1)
check "every 2 x 2 block of the picture is one colour ($mixed pixels differ)" test "$mixed" -eq 0

# Screen point (912, 680) is client pixel (200, 300): the pour disc covers client pixels 168..231
# across, screen pixels 848..975.
check_pour 912 680 128x1152+848+144 192x1152+1112+144 1600 " at the cell under the screen point"

# A point left of the picture is left of the client area, and the cursor goes to the nearest cell,
# column 8 (its frame at client x 40, screen x 592), level with the mouse.
sleep 2
shot before_beside
xdotool mousemove 100 680
sleep 1
shot beside
moved=$(changed_pixels before_beside beside 112x112+584+544)
check "a point beside the picture moves the cursor to the field's edge ($moved pixels changed)" above "$moved" 100

xdotool key Escape
check "Escape gives the 448 x 640 window back" window_size_is 448 640
check_fixed_client_area 448 640
xdotool key F11
check "F11 covers the screen again ($(geometry))" covers_screen

# Pause while beads fall: poured at the top of the glass (client y 40, the highest cell the cursor
# takes), they fall for most of a second; the field holds still under the paused title.
xdotool mousemove 912 160 click 1
sleep 0.2
xdotool key p
check "P pauses: the title reads 'Quorvantile (paused)'" title_is "Quorvantile (paused)"
sleep 0.5
shot paused
sleep 1
shot still_paused
still=$(changed_pixels paused still_paused 896x1280+512+80)
check "...and the field does not change for a second ($still pixels changed)" test "$still" -eq 0
xdotool key p
check "P again resumes: the title reads 'Quorvantile'" title_is "Quorvantile"
sleep 0.5
shot resumed
moving=$(changed_pixels still_paused resumed 896x1280+512+80)
check "...and the beads move on ($moving pixels changed)" above "$moving" 100

"$send_close" "$wid"
wait_for_end "$game_pid"
check "closing the window ends the game with status 0 (got $status)" test "$status" = 0
[[ $status != timeout ]] && game_pid=""
check "...and nothing was written on standard error" test ! -s "$work/game.err"
[[ -s $work/game.err ]] && cat "$work/game.err"
finish
