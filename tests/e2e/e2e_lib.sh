# Shared by the end-to-end scripts and the install test: a work folder, a private lock directory, a
# virtual X server, checks that count failures, and measurements of screenshots. Source it with
# `work` unset.
work=$(mktemp -d)
failures=0
xvfb_pid="" game_pid=""
cleanup_extra() { :; }  # a script that starts more processes replaces this

# The game goes before its X server: a game whose server vanishes may not end by itself.
cleanup() {
    if [[ -n $game_pid ]]; then
        kill "$game_pid" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$game_pid" 2>/dev/null
    fi
    cleanup_extra
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

finish() {
    echo "$failures failed"
    [[ $failures -eq 0 ]]
}

# Libraries under the program leak a little at exit; our own code is still checked for leaks.
use_leak_suppressions() {  # use_leak_suppressions SOURCE-DIR
    if [[ -f $1/tests/lsan.supp ]]; then
        export LSAN_OPTIONS="suppressions=$1/tests/lsan.supp:print_suppressions=0"
    fi
}

export XDG_RUNTIME_DIR=$work/runtime   # a lock of our own, apart from any game the developer runs
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A virtual X server of the given screen size on a free display; DISPLAY points at it.
start_xvfb() {  # start_xvfb WIDTHxHEIGHT
    exec 5>"$work/display"
    # -noreset: what a test puts on the root window stays when the last program disconnects
    Xvfb -displayfd 5 -screen 0 "$1x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$work/display")"
}

# The pictures the game reads, in a folder of their own to start it in.
copy_pictures() {  # copy_pictures ASSETS-DIR FOLDER
    mkdir -p "$2"
    cp "$1/back1_sml.bmp" "$1/back2_sml.bmp" "$2/"
}

# The usual opening of a game under X: our leak suppressions, a virtual X server of the size given
# and the pictures in $work/play.
open_x_session() {  # open_x_session ASSETS-DIR WIDTHxHEIGHT
    use_leak_suppressions "$(cd "$1/.." && pwd)"
    start_xvfb "$2"
    copy_pictures "$1" "$work/play"
}

# A screenshot of the game's window, as $work/NAME.png (a script that looks another way replaces this).
shot() { import -window "$wid" "$work/$1.png"; }

# Takes screenshot NAME again and again until COMMAND succeeds, for up to ten seconds; fails if it
# never does.
shot_until() {  # shot_until NAME COMMAND...
    local name=$1
    shift
    for _ in $(seq 20); do
        shot "$name"
        "$@" && return 0
        sleep 0.5
    done
    return 1
}

# A left click at window pixel (X, Y) between screenshots "before" and "poured", a second apart:
# beads must change more than MIN pixels of the rectangle under the cursor, and none of the one far
# from it.
check_pour() {  # check_pour X Y UNDER-RECTANGLE FAR-RECTANGLE MIN [HOW-PLACED]
    sleep 1
    shot before
    xdotool mousemove --window "$wid" "$1" "$2" click 1
    sleep 1
    shot poured
    local under far
    under=$(changed_pixels before poured "$3")
    far=$(changed_pixels before poured "$4")
    check "beads appear under the cursor${6:-} within a second ($under pixels changed)" above "$under" "$5"
    check "nothing changes far from the cursor ($far pixels changed)" test "$far" -eq 0
}

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

# Waits up to ten seconds for process PID to end; its exit status is then in `status`.
wait_for_end() {  # wait_for_end PID
    local ended=""
    for _ in $(seq 100); do
        if ! kill -0 "$1" 2>/dev/null; then ended=yes; break; fi
        sleep 0.1
    done
    if [[ -z $ended ]]; then status=timeout; return 1; fi
    wait "$1"
    status=$?
}

# Starts the game in FOLDER under the X server with the given options, waits for its window (titled
# "Quorvantile", or $window_title when set) and sets game_pid and wid; ends the script when no
# window appears.
start_game_window() {  # start_game_window FOLDER GAME [OPTION...]
    local folder=$1 title=${window_title:-Quorvantile}
    shift
    (cd "$folder" && exec "$@" >"$work/game.out" 2>"$work/game.err") &
    game_pid=$!
    wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^${title//[()]/.}\$" | head -n 1)
    if [[ -z $wid ]]; then
        echo "FAILED: no window titled $title appeared"; cat "$work/game.err"; exit 1
    fi
}

# Waits up to SECONDS (ten unless given) for the window's title to read TITLE.
title_is() {  # title_is TITLE [SECONDS]
    for _ in $(seq $((${2:-10} * 10))); do
        [[ $(xdotool getwindowname "$wid" 2>/dev/null) == "$1" ]] && return 0
        sleep 0.1
    done
    return 1
}

# The window's client area is exactly WIDTH x HEIGHT and the window manager is told it is fixed.
check_fixed_client_area() {  # check_fixed_client_area WIDTH HEIGHT
    local geometry hints
    geometry=$(xwininfo -id "$wid")
    check "client area is $1 x $2" \
        bash -c "grep -q 'Width: $1\$' <<<'$geometry' && grep -q 'Height: $2\$' <<<'$geometry'"
    hints=$(xprop -id "$wid" WM_NORMAL_HINTS)
    check "window is not resizable (minimum and maximum size $1 x $2)" \
        bash -c "grep -q 'minimum size: $1 by $2' <<<'$hints' && grep -q 'maximum size: $1 by $2' <<<'$hints'"
}
