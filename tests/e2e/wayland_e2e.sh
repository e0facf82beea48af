#!/usr/bin/env bash
# Plays the real game under SDL's Wayland driver: a Wayland compositor (weston, X11 backend) runs
# nested in a virtual X server, the mouse moves in that X server, pictures come from the
# compositor's screenshooter. Checks the window's picture, a pour, the end of a game, full screen
# and closing the window with its close button. With an output scale of 2 the compositor shows every window unit
# as 2 x 2 physical pixels: the picture must then be twice the size and crisp, and the game must
# still see the mouse where it sees it at 1x.
# usage: wayland_e2e.sh GAME ASSETS-DIR [OUTPUT-SCALE]
set -uo pipefail

game=$1 assets=$2 s=${3:-1}
source "$(dirname "$0")/e2e_lib.sh"
# The Wayland client libraries, the window frame plugin and the graphics drivers that SDL loads and
# unloads again leave allocations behind that the leak checker can no longer attribute to a library
# (they show as "<unknown module>"); our own code's leaks are checked by the X11 runs.
export LSAN_OPTIONS=detect_leaks=0
# The compositor's output is 1024 x 768 desktop units, s times as many physical pixels, and its
# window on the X screen is that large; the screen has room around it.
start_xvfb $((1024 * s + 76))x$((768 * s + 32))
copy_pictures "$assets" "$work/play"

weston_pid=""
cleanup_extra() { [[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null; }
socket=wayland-qv-test
# --debug lets the screenshooter in; the compositor's window sits at (0, 0) of the X screen, so X
# pointer positions inside it are the output's physical pixels.
weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 --scale=$s --socket=$socket \
    --no-config --idle-time=0 --debug >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/$socket ]] && break; sleep 0.1; done
if [[ ! -S $XDG_RUNTIME_DIR/$socket ]]; then
    echo "FAILED: the compositor did not start"; cat "$work/weston.log"; exit 1
fi

wayland=(env -u DISPLAY WAYLAND_DISPLAY=$socket SDL_VIDEODRIVER=wayland)
shot() {  # the whole output in physical pixels; the screenshooter names its file itself
    mkdir -p "$work/shots" && rm -f "$work/shots"/*.png
    (cd "$work/shots" && "${wayland[@]}" weston-screenshooter >/dev/null 2>&1)
    mv "$work/shots"/*.png "$work/$1.png"
}
# The compositor takes the pointer's place from where it enters its window and follows only the
# motion after that; so the pointer leaves the compositor's window and comes back in at the place.
pointer_to() {  # pointer_to X Y (physical pixels of the output)
    xdotool mousemove $((1024 * s + 36)) $((768 * s + 22)); sleep 0.2
    xdotool mousemove "$1" "$2"; sleep 0.3
}
point_at() { pointer_to $((left + s * $1)) $((top + s * $2)); }  # point_at X Y (client pixels)

(cd "$work/play" && exec "${wayland[@]}" "$game" >"$work/game.out" 2>"$work/game.err") &
game_pid=$!
sleep 3
check "the game runs under Wayland" kill -0 "$game_pid"
# The client area is the one rectangle of pure black on the compositor's patterned desktop:
# 32-pixel black margins around the picture (the panel at the top is left out). Sets left and top.
panel=$((32 * s))
size=$((448 * s))x$((640 * s))
find_window() {  # find_window SHOT
    local box
    box=$(convert "$work/$1.png" -crop $((1024 * s))x$((736 * s))+0+$panel +repage \
        -fill white +opaque black -format '%@' info:)
    [[ ${box%%+*} == "$size" ]] || return 1
    IFS=+ read -r _ left top <<<"$box"
    top=$((top + panel))
}
if ! shot_until before find_window before; then
    echo "FAILED: no window with a black frame of $size on the desktop"; cat "$work/game.err"; exit 1
fi
check "the window shows its black frame of $size physical pixels" true
crop() { echo "$(($1 * s))x$(($2 * s))+$((left + s * $3))+$((top + s * $4))"; }  # crop W H X Y (client pixels)
check "the background picture shows in the glass" above "$(brightness before "$(crop 384 576 32 32)")" 0.02
check "...and the margins are black" below "$(brightness before "$(crop 32 576 0 32)")" 0.001

point_at 200 300
xdotool click 1
sleep 1
shot poured
under_cursor=$(changed_pixels before poured "$(crop 64 576 168 32)")
far_away=$(changed_pixels before poured "$(crop 96 576 300 32)")
check "a left click pours beads under the cursor ($under_cursor pixels changed)" above "$under_cursor" $((400 * s * s))
check "...and nothing far from it ($far_away pixels changed)" test "$far_away" -eq 0

xdotool click 3
sleep 1
shot over
check "a right click shows the end-of-game lines" above "$(brightness over "$(crop 32 16 0 200)")" 0.3

if [[ $s -gt 1 ]]; then
    # Keeping one pixel of each s x s block and enlarging that again gives the same picture, beads
    # and end-of-game lines included (the pointer, which the compositor draws into its screenshots,
    # moves off the window first).
    point_at -100 300
    shot blocks
    convert "$work/blocks.png" -crop "$(crop 448 640 0 0)" +repage "$work/client.png"
    convert "$work/client.png" -sample $((100 / s))% -sample $((100 * s))% "$work/sampled.png"
    mixed=$(compare -metric AE "$work/client.png" "$work/sampled.png" null: 2>&1 | cut -d' ' -f1)
    check "every $s x $s block of the picture is one colour ($mixed pixels differ)" test "$mixed" -eq 0
fi

# F11 covers the output: the desktop's panel and background give way to black around the picture,
# at the largest whole scale that fits the output's physical pixels, centred. Escape gives the
# window back. (The pointer, which the compositor draws into its screenshots, waits in the middle.)
fit=$(( 768 * s / 640 < 1024 * s / 448 ? 768 * s / 640 : 1024 * s / 448 ))
fit_left=$(( (1024 * s - 448 * fit) / 2 )) fit_top=$(( (768 * s - 640 * fit) / 2 ))
black() { [[ $(brightness "$1" "$2") == 0 ]]; }
xdotool key F11
pointer_to $((512 * s)) $((384 * s))
check "F11: the panel gives way to black above the picture" shot_until full black full $((1024 * s))x${fit_top}+0+0
check "...the score display is at the fitted place ($fit_left, $fit_top), at scale $fit" \
    above "$(brightness full $((32 * fit))x$((16 * fit))+$fit_left+$fit_top)" 0.3
check "...and black beside it" black full ${fit_left}x$((768 * s))+0+0
check "...on both sides" black full ${fit_left}x$((768 * s))+$((fit_left + 448 * fit))+0
xdotool key Escape
pointer_to $((1024 * s - 2)) $((768 * s - 2))
check "Escape gives the window back, with its black frame of $size physical pixels" \
    shot_until windowed find_window windowed

# The frame's close button sits at the right end of the title bar, above the client area.
point_at 432 -13
xdotool click 1
wait_for_end "$game_pid"
check "the close button ends the game with status 0 (got $status)" test "$status" = 0
[[ $status != timeout ]] && game_pid=""
[[ $status != 0 ]] && cat "$work/game.err"
check "...and neither the game nor a library wrote on standard error" test ! -s "$work/game.err"
[[ -n ${QV_E2E_KEEP:-} ]] && cp "$work"/*.png "$QV_E2E_KEEP"/
finish
