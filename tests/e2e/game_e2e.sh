#!/usr/bin/env bash
# Plays the real game in a virtual X server: checks the window, a pour, the end of a game, a
# restart, the single-copy rule, a missing picture and closing the window.
# usage: game_e2e.sh GAME SEND-CLOSE-REQUEST ASSETS-DIR
set -uo pipefail

game=$1 send_close=$2 assets=$3
source "$(dirname "$0")/e2e_lib.sh"
open_x_session "$assets" 800x800

start_game_window "$work/play" "$game"
check "window titled Quorvantile" true
check_fixed_client_area 448 640

# A left click at (200, 300): the pour disc covers pixels 168..231 across; beads fall from there.
check_pour 200 300 64x576+168+32 96x576+300+32 400

# The end-of-game lines start in the left margin at y = 200, 220 and 280: white behind black text.
check "no end-of-game lines while playing" below "$(brightness poured 32x16+0+200)" 0.05
xdotool click 3
sleep 1
shot over
check "a right click shows the end-of-game lines" above "$(brightness over 32x16+0+200)" 0.3
check "...with the hint line" above "$(brightness over 32x16+0+220)" 0.3
xdotool click 1
sleep 1
shot restarted
check "a left click clears them and starts over" below "$(brightness restarted 32x16+0+200)" 0.05

# A second copy while the first runs: refused, no second window.
(cd "$work/play" && timeout 60 "$game" >/dev/null 2>"$work/second.err")
second=$?
check "a second copy exits with status 1 (got $second)" test "$second" -eq 1
check "...and says why on standard error" test -s "$work/second.err"
windows=$(xdotool search --name '^Quorvantile$' | wc -l)
check "...and opens no window ($windows windows)" test "$windows" -eq 1

# A copy started where back1_sml.bmp is missing.
mkdir "$work/missing"
cp "$assets/back2_sml.bmp" "$work/missing/"
(cd "$work/missing" && timeout 60 "$game" >/dev/null 2>"$work/missing.err")
missing=$?
check "a copy without back1_sml.bmp exits with status 1 (got $missing)" test "$missing" -eq 1
check "...and names the file on standard error" grep -q 'back1_sml.bmp' "$work/missing.err"

# Closing the window ends the game with status 0.
"$send_close" "$wid"
wait_for_end "$game_pid"
check "closing the window ends the game" test "$status" != timeout
[[ $status != timeout ]] && game_pid=""
check "...with exit status 0 (got $status)" test "$status" = 0
[[ $status != 0 ]] && cat "$work/game.err"
finish
