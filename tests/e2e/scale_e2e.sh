#!/usr/bin/env bash
# The game at --scale 2 in a virtual X server tall enough for it: a window twice the size in both
# directions, every pixel a crisp 2 x 2 block, clicks landing where they land at 1x, the end-of-game
# lines at twice their place. Also the command line a player types: --version, --help, mistakes,
# a desktop scale too large for the screen, and a --scale too large, which is used as asked.
# usage: scale_e2e.sh GAME SEND-CLOSE-REQUEST ASSETS-DIR
set -uo pipefail

game=$1 send_close=$2 assets=$3
source "$(dirname "$0")/e2e_lib.sh"
open_x_session "$assets" 1024x1400
unset GDK_SCALE

windows() { xdotool search --name '^Quorvantile$' 2>/dev/null | wc -l; }

# The command line answers before any window opens.
"$game" --version >"$work/version.out" 2>&1
check "--version exits with status 0 (got $?)" test $? -eq 0
check "...and prints 'quorvantile VERSION' ($(cat "$work/version.out"))" \
    grep -qxE 'quorvantile [0-9]+\.[0-9]+\.[0-9]+' "$work/version.out"
for help in --help -h; do
    "$game" "$help" >"$work/help.out" 2>"$work/help.err"
    check "$help exits with status 0 (got $?)" test $? -eq 0
    check "...and prints the usage, options and keys, on standard output" \
        bash -c "grep -q -- '--scale N' '$work/help.out' && grep -q -- '--fullscreen' '$work/help.out' && grep -q F11 '$work/help.out'"
done
for bad in "--scale 0" "--scale 9" "--scale two" "--scale" "--full-screen"; do
    # shellcheck disable=SC2086  # the words of one mistake
    (cd "$work/play" && timeout 30 "$game" $bad >"$work/bad.out" 2>"$work/bad.err")
    code=$?
    check "'$bad' exits with status 2 (got $code)" test "$code" -eq 2
    check "...with one line on standard error, naming the mistake and pointing to --help" \
        bash -c "[[ \$(wc -l <'$work/bad.err') -eq 1 ]] && grep -q -- '^quorvantile: .*${bad%% *}.*--help' '$work/bad.err'"
done
check "...and no window opened" test "$(windows)" -eq 0

# A desktop scale of 3 does not fit 1400 rows: the window is lowered to 2.
start_game_window "$work/play" env GDK_SCALE=3 "$game"
echo "GDK_SCALE=3 on a 1024 x 1400 screen:"
check_fixed_client_area 896 1280
"$send_close" "$wid"
wait_for_end "$game_pid" && game_pid=""

# A desktop that publishes a font resolution of 192 dots an inch (twice 96) gets scale 2.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.antialias:\t1\nXft.dpi:\t192\n')"
start_game_window "$work/play" "$game"
echo "Xft.dpi 192:"
check_fixed_client_area 896 1280
"$send_close" "$wid"
wait_for_end "$game_pid" && game_pid=""
xprop -root -remove RESOURCE_MANAGER

# --scale 3 does not fit 1400 rows: used as asked, with one line saying which scale fits.
start_game_window "$work/play" "$game" --scale 3
echo "--scale 3 on a 1024 x 1400 screen:"
check_fixed_client_area 1344 1920
check "...with one line saying the window is larger than the screen and that --scale 2 fits" \
    bash -c "[[ \$(wc -l <'$work/game.err') -eq 1 ]] && grep -q '^quorvantile: .*1344 x 1920 .*larger than the screen.*--scale 2 fits\$' '$work/game.err'"
"$send_close" "$wid"
wait_for_end "$game_pid" && game_pid=""

start_game_window "$work/play" "$game" --scale 2
echo "--scale 2:"
check_fixed_client_area 896 1280
check "...and standard error stays empty" test ! -s "$work/game.err"

# At 1x a click at (200, 300) pours over pixels 168..231 across; at 2x the click goes to (400, 600)
# and the beads cover twice those pixels.
check_pour 400 600 128x1152+336+64 192x1152+600+64 1600 ", at twice the 1x place,"
# Every 2 x 2 block is one colour: keeping one pixel of each block and enlarging that again gives
# the same picture, text and beads included.
convert "$work/poured.png" -sample 50% -sample 200% "$work/blocks.png"
mixed=$(compare -metric AE "$work/poured.png" "$work/blocks.png" null: 2>&1 | cut -d' ' -f1)
check "every 2 x 2 block of the window is one colour ($mixed pixels differ)" test "$mixed" -eq 0

xdotool click 3
sleep 1
shot over
check "a right click shows the end-of-game lines at twice their 1x place" \
    above "$(brightness over 64x32+0+400)" 0.3
check "...with the hint line" above "$(brightness over 64x32+0+440)" 0.3
check "...and nothing at their 1x place" below "$(brightness over 64x32+0+200)" 0.05

"$send_close" "$wid"
wait_for_end "$game_pid"
check "closing the window ends the game with status 0 (got $status)" test "$status" = 0
[[ $status != timeout ]] && game_pid=""
[[ $status != 0 ]] && cat "$work/game.err"
finish
