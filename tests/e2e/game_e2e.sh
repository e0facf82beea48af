#!/usr/bin/env bash
# Plays the real game in a virtual X server: checks the window, a pour, the end of a game, a
# restart, the single-copy rule, a missing picture and closing the window.
# usage: game_e2e.sh GAME SEND-CLOSE-REQUEST ASSETS-DIR
set -uo pipefail

game=$1 send_close=$2 assets=$3
source_dir=$(cd "$assets/.." && pwd)
work=$(mktemp -d)
failures=0
xvfb_pid="" game_pid=""

cleanup() {
    [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

check() {  # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@"; then
        echo "ok: $description"
    else
        echo "FAILED: $description"
        failures=$((failures + 1))
    fi
}

# Libraries under the program leak a little at exit; our own code is still checked for leaks.
if [[ -f $source_dir/tests/lsan.supp ]]; then
    export LSAN_OPTIONS="suppressions=$source_dir/tests/lsan.supp:print_suppressions=0"
fi
export XDG_RUNTIME_DIR=$work/runtime   # a lock of our own, apart from any game the developer runs
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A virtual X server on a free display.
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 800x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

mkdir "$work/play"
cp "$assets/back1_sml.bmp" "$assets/back2_sml.bmp" "$work/play/"

shot() { import -window "$wid" "$work/$1.png"; }
# Mean brightness (0..1) of a rectangle of a screenshot.
brightness() { convert "$work/$1.png" -crop "$2" +repage -colorspace gray -format '%[fx:mean]' info:; }
# Pixels that differ between the same rectangle of two screenshots.
changed_pixels() {
    convert "$work/$1.png" -crop "$3" +repage "$work/a.png"
    convert "$work/$2.png" -crop "$3" +repage "$work/b.png"
    compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 | cut -d' ' -f1
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

(cd "$work/play" && exec "$game" >"$work/game.out" 2>"$work/game.err") &
game_pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvantile$' | head -n 1)
if [[ -z $wid ]]; then
    echo "FAILED: no window titled Quorvantile appeared"; cat "$work/game.err"; exit 1
fi
check "window titled Quorvantile" true

geometry=$(xwininfo -id "$wid")
check "client area is 448 x 640" \
    bash -c "grep -q 'Width: 448' <<<'$geometry' && grep -q 'Height: 640' <<<'$geometry'"
hints=$(xprop -id "$wid" WM_NORMAL_HINTS)
check "window is not resizable (minimum and maximum size 448 x 640)" \
    bash -c "grep -q 'minimum size: 448 by 640' <<<'$hints' && grep -q 'maximum size: 448 by 640' <<<'$hints'"

sleep 1
shot before
# A left click at (200, 300): the pour disc covers pixels 168..231 across; beads fall from there.
xdotool mousemove --window "$wid" 200 300 click 1
sleep 1
shot poured
under_cursor=$(changed_pixels before poured 64x576+168+32)
far_away=$(changed_pixels before poured 96x576+300+32)
check "beads appear under the cursor within a second ($under_cursor pixels changed)" above "$under_cursor" 400
check "nothing changes far from the cursor ($far_away pixels changed)" test "$far_away" -eq 0

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
closed=""
for _ in $(seq 100); do
    if ! kill -0 "$game_pid" 2>/dev/null; then closed=yes; break; fi
    sleep 0.1
done
wait "$game_pid"
status=$?
game_pid=""
check "closing the window ends the game" test -n "$closed"
check "...with exit status 0 (got $status)" test "$status" -eq 0
if [[ $status -ne 0 ]]; then cat "$work/game.err"; fi

echo "$failures failed"
[[ $failures -eq 0 ]]
