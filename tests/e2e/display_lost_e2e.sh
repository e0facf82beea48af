#!/usr/bin/env bash
# Kills the X server under a playing game, ten times in a row. Each time the game must end within a
# second, with status 1 and one line on standard error saying that the display connection was lost,
# and the next copy must start at once (the dead one holds no lock).
# usage: display_lost_e2e.sh GAME ASSETS-DIR
set -uo pipefail

game=$1 assets=$2
source_dir=$(cd "$assets/.." && pwd)
work=$(mktemp -d)
failures=0
xvfb_pid="" game_pid=""
rounds=${QV_DISPLAY_LOST_ROUNDS:-10}

cleanup() {
    [[ -n $game_pid ]] && kill -9 "$game_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill -9 "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

if [[ -f $source_dir/tests/lsan.supp ]]; then
    export LSAN_OPTIONS="suppressions=$source_dir/tests/lsan.supp:print_suppressions=0"
fi
export XDG_RUNTIME_DIR=$work/runtime   # one lock for every round, apart from any other game
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$work/play"
cp "$assets/back1_sml.bmp" "$assets/back2_sml.bmp" "$work/play/"

start_display() {
    rm -f "$work/display"
    exec 5>"$work/display"
    Xvfb -displayfd 5 -screen 0 800x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 5>&-
    for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$work/display")"
}

# Milliseconds since the epoch.
now() { date +%s%3N; }

for round in $(seq "$rounds"); do
    start_display
    (cd "$work/play" && exec "$game" >/dev/null 2>"$work/game.err") &
    game_pid=$!
    wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvantile$' | head -n 1)
    if [[ -z $wid ]]; then
        fail "round $round: no window appeared: $(head -c 300 "$work/game.err")"
        kill -9 "$game_pid" "$xvfb_pid" 2>/dev/null; wait "$game_pid" "$xvfb_pid" 2>/dev/null
        game_pid="" xvfb_pid=""
        continue
    fi
    # Pour and keep the mouse moving, so that the game is busy drawing when the server goes.
    xdotool mousemove --window "$wid" 200 300 click 1 mousemove --window "$wid" 220 310
    sleep 0.$((RANDOM % 5 + 2))
    # Half the rounds end the server abruptly, the other half ask it to go.
    signal=$([[ $((round % 2)) -eq 0 ]] && echo KILL || echo TERM)
    killed_at=$(now)
    kill -"$signal" "$xvfb_pid"
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
    ended=""
    while (( $(now) - killed_at < 3000 )); do
        if ! kill -0 "$game_pid" 2>/dev/null; then ended=$(( $(now) - killed_at )); break; fi
        sleep 0.02
    done
    if [[ -z $ended ]]; then
        fail "round $round (SIG$signal): the game still runs 3 s after the server went"
        kill -9 "$game_pid" 2>/dev/null
    fi
    wait "$game_pid"
    status=$?
    game_pid=""
    lines=$(wc -l <"$work/game.err")
    echo "round $round (SIG$signal): ended after ${ended:-?} ms with status $status"
    [[ -n $ended ]] && (( ended > 1000 )) && fail "round $round: took $ended ms to end, more than a second"
    [[ $status -eq 1 ]] || fail "round $round: exit status $status, not 1"
    if [[ $lines -ne 1 ]] || ! grep -q '^quorvantile: the display connection was lost; ' "$work/game.err"; then
        fail "round $round: standard error should be one line about the lost display, it was:"
        head -c 600 "$work/game.err"; echo
    fi
done

# A last copy starts at once: no lock is left behind by any of them.
start_display
(cd "$work/play" && exec "$game" >/dev/null 2>"$work/last.err") &
game_pid=$!
if [[ -z $(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvantile$' | head -n 1) ]]; then
    fail "a copy started after the last round shows no window: $(head -c 300 "$work/last.err")"
fi

echo "$failures failed"
[[ $failures -eq 0 ]]
