#!/usr/bin/env bash
# Records a game played in a virtual X server and watches it again: the runner replays the recording
# and finds it ends as recorded; the game replays it under the title "Quorvantile (replay)", deaf to
# the player's clicks, then hands over, its field showing what the runner's picture shows. Also: a
# killed game's recording replays up to its last line, a pipe whose reader quits costs the
# recording and not the game, and files that cannot be recorded or replayed stop the start-up.
# usage: replay_e2e.sh GAME HEADLESS SEND-CLOSE-REQUEST ASSETS-DIR
set -uo pipefail

game=$1 headless=$2 send_close=$3 assets=$4
source "$(dirname "$0")/e2e_lib.sh"
open_x_session "$assets" 800x800
unset GDK_SCALE

field=384x576+32+32
outside() { xdotool mousemove 790 790; }  # a pointer off the window sends the game nothing

# Runs COMMAND until it succeeds, for up to ten seconds; fails if it never does.
eventually() {  # eventually COMMAND...
    for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
    return 1
}
file_says() { grep -qE -- "$2" "$1" 2>/dev/null; }  # file_says FILE PATTERN
# FILE holds one line, ours, with TEXT in it.
one_line_of_ours() {  # one_line_of_ours FILE TEXT
    [[ $(wc -l <"$1") -eq 1 ]] && grep -q '^quorvantile: ' "$1" && grep -qF -- "$2" "$1"
}
# The field does not change in a second.
field_still() {
    shot still_before
    sleep 1
    shot still_after
    [[ $(changed_pixels still_before still_after "$field") -eq 0 ]]
}
# Closes the game's window and checks that it ends with status 0, saying nothing.
close_quietly() {  # close_quietly WHAT
    "$send_close" "$wid"
    wait_for_end "$game_pid"
    [[ $status != timeout ]] && game_pid=""
    check "closing $1 ends it with status 0 (got $status)" test "$status" = 0
    check "...and nothing was written on standard error" test ! -s "$work/game.err"
    cat "$work/game.err"
}
# refused NAME SAYING OPTION...: the game stops before its window with status 1 and one line, ours.
refused() {
    local name=$1 saying=$2
    shift 2
    (cd "$work/play" && timeout 60 "$game" "$@" >/dev/null 2>"$work/refused.err")
    local code=$?
    check "$name: exit status 1 (got $code)" test "$code" -eq 1
    check "...one line on standard error, ours: $saying" one_line_of_ours "$work/refused.err" "$saying"
    one_line_of_ours "$work/refused.err" "$saying" || cat "$work/refused.err"
}

# --- Recording: pours of two colours, a game over, a restart and a last pour left to settle.
recording=$work/session.replay
start_game_window "$work/play" "$game" --scale 1 --record "$recording"
check "the recording holds its header and seed before the first frame" \
    bash -c "[[ \$(sed -n 1p '$recording') == '# quorvantile replay 1' ]] && sed -n 2p '$recording' | grep -qxE '# seed [0-9]+'"
refused "a second copy recording into the same file" "play in its window" --record "$recording"
check "...and leaves the first one's recording whole" \
    bash -c "[[ \$(sed -n 1p '$recording') == '# quorvantile replay 1' ]]"
xdotool mousemove --window "$wid" 120 300 click 1
sleep 1
xdotool mousemove --window "$wid" 300 300 click 1
sleep 1
xdotool click 3
sleep 0.5
xdotool click 1
sleep 0.5
xdotool mousemove --window "$wid" 200 400 click 1
check "the last pour settles" shot_until settled field_still
close_quietly "the recording game"
check "the recording ends with its end line" bash -c "tail -n 1 '$recording' | grep -qE '^# end [0-9]+ '"
check "...and holds the pours, the game over and the restart" \
    bash -c "[[ \$(grep -c ' ldown ' '$recording') -eq 4 && \$(grep -c ' rdown ' '$recording') -eq 1 ]]"
frames=$(awk '/^# end / {print $3}' "$recording")

(cd "$work/play" && "$headless" --replay "$recording" --picture "$work/runner.bmp" 2>"$work/runner.err")
code=$?
check "the runner replays the recording of $frames frames and finds it ends as recorded (status $code)" \
    test "$code" -eq 0
cat "$work/runner.err"
convert "$work/runner.bmp" "$work/runner.png"

# --- Watching: the player's click during the replay is ignored, or the field would end otherwise.
outside
window_title="Quorvantile (replay)" start_game_window "$work/play" "$game" --scale 1 --replay "$recording"
check "the replay plays under the title 'Quorvantile (replay)'" true
xdotool mousemove --window "$wid" 150 500 click 1
check "...still, after the player's click" title_is "Quorvantile (replay)" 1
outside
# At the game's pace a frame takes 17 ms; a busy machine gets a generous fifty.
check "after the replay's last frame the title reads 'Quorvantile' again" \
    title_is "Quorvantile" $((30 + frames / 20))
field_as_runner() { [[ $(changed_pixels runner watched "$field") -eq 0 ]]; }
check "...and the field shows what the runner's picture shows" shot_until watched field_as_runner
poured() { above "$(changed_pixels watched player 64x576+168+32)" 400; }
xdotool mousemove --window "$wid" 200 300 click 1
check "...and the player's click pours from there" shot_until player poured
close_quietly "the replaying game"

# --- A game killed while recording leaves a file that replays up to its last line.
killed=$work/killed.replay
start_game_window "$work/play" "$game" --scale 1 --record "$killed"
xdotool mousemove --window "$wid" 200 300 click 1
check "a pour reaches the recording while the game plays" eventually file_says "$killed" '^[0-9]+ ldown 200 300$'
kill -KILL "$game_pid"
wait "$game_pid" 2>/dev/null
game_pid=""
last=$(tail -n 1 "$killed")
check "the killed game's recording ends with a whole event line ('$last')" \
    bash -c "[[ -z \$(tail -c 1 '$killed') ]] && grep -qxE '[0-9]+ (move|ldown|lup|rdown|rup) -?[0-9]+ -?[0-9]+' <<<'$last'"
(cd "$work/play" && "$headless" --replay "$killed" 2>"$work/killed.err")
code=$?
check "the runner replays it with status 0 (got $code)" test "$code" -eq 0
check "...up to the frame of its last line, ${last%% *}" grep -q "ran ${last%% *} frames" "$work/killed.err"

# --- A pipe whose reader quits: the failed write is said once and the game plays on. A writer of
# its own lets the reader open the pipe before the game starts.
pipe=$work/pipe
mkfifo "$pipe"
sleep 600 >"$pipe" &
keeper_pid=$!
cat "$pipe" >"$work/pipe.out" &
reader_pid=$!
cleanup_extra() { kill "$reader_pid" "$keeper_pid" 2>/dev/null; }
reading_pipe() { ls -l "/proc/$reader_pid/fd" 2>/dev/null | grep -qF -- "$pipe"; }
check "the pipe's reader opens it" eventually reading_pipe
start_game_window "$work/play" "$game" --scale 1 --record "$pipe"
xdotool mousemove --window "$wid" 200 300 click 1
check "the pipe's reader gets the pour" eventually file_says "$work/pipe.out" '^[0-9]+ ldown 200 300$'
kill "$reader_pid"
wait "$reader_pid" 2>/dev/null
xdotool mousemove --window "$wid" 100 300 click 1
check "with its reader gone, the failed write is said" eventually file_says "$work/game.err" 'Broken pipe'
check "...and the game plays on" kill -0 "$game_pid"
"$send_close" "$wid"
wait_for_end "$game_pid"
[[ $status != timeout ]] && game_pid=""
check "...to its close, with status 0 (got $status)" test "$status" = 0
check "...having said it once, in one line of ours" one_line_of_ours "$work/game.err" \
    "quorvantile: cannot write the replay '$pipe': Broken pipe; the game goes on unrecorded"

# --- What cannot be recorded into or replayed stops the start-up.
refused "recording into a folder" "cannot write the replay '$work/play': Is a directory" --record "$work/play"
refused "recording into a missing folder" "cannot write the replay '$work/none/x.replay': No such file or directory" \
    --record "$work/none/x.replay"
printf '# quorvantile replay 1\n# seed 5\n1 move 200 300\n1 jump 200 300\n' >"$work/bad.replay"
refused "a malformed replay" "cannot play the replay '$work/bad.replay': line 4: unknown event 'jump'" \
    --replay "$work/bad.replay"
refused "a missing replay" "cannot play the replay '$work/none.replay': No such file or directory" \
    --replay "$work/none.replay"
refused "a folder as a replay" "cannot play the replay '$work/play': Is a directory" --replay "$work/play"
finish
