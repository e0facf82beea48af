#!/usr/bin/env bash
# The game speaks with one voice: in ordinary runs that cannot play (no display, a display that is
# not there, --scale 9, a missing picture) standard error holds our one line, starting
# "quorvantile: ", and no library writes lines of its own.
# usage: messages_e2e.sh GAME ASSETS-DIR
set -uo pipefail

game=$1 assets=$2
source "$(dirname "$0")/e2e_lib.sh"
use_leak_suppressions "$(cd "$assets/.." && pwd)"
copy_pictures "$assets" "$work/play"
mkdir "$work/missing"
cp "$assets/back2_sml.bmp" "$work/missing/"
# Without a session folder the lock lies in the temporary folder: this run's own.
export TMPDIR=$work

# A display number that no X server answers.
absent=90
while [[ -e /tmp/.X11-unix/X$absent ]]; do absent=$((absent + 1)); done

# Standard error holds one line, ours, saying SAYING.
one_line_saying() { [[ $(wc -l <"$work/err") -eq 1 ]] && grep -q -- "^quorvantile: .*$1" "$work/err"; }

# run NAME STATUS SAYING FOLDER COMMAND...: the command ends with STATUS and writes exactly one line
# on standard error, ours, which says SAYING (a pattern).
run() {
    local name=$1 expected=$2 saying=$3 folder=$4
    shift 4
    (cd "$folder" && timeout 60 "$@" >/dev/null 2>"$work/err")
    local status=$?
    check "$name: exit status $expected (got $status)" test "$status" -eq "$expected"
    check "...one line on standard error, ours: $saying" one_line_saying "$saying"
    [[ $(wc -l <"$work/err") -eq 1 ]] || cat "$work/err"
}

nowhere=(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER)
run "no display, no session folder" 1 "no display: neither DISPLAY nor WAYLAND_DISPLAY is set" \
    "$work/play" "${nowhere[@]}" -u XDG_RUNTIME_DIR "$game"
run "no display" 1 "no display: neither DISPLAY nor WAYLAND_DISPLAY is set" "$work/play" "${nowhere[@]}" "$game"
run "a display that is not there" 1 "cannot reach the X display ':$absent'" \
    "$work/play" "${nowhere[@]}" DISPLAY=":$absent" "$game"
run "--scale 9" 2 "--scale needs a whole number from 1 to 8, not '9'.*--help" "$work/play" "$game" --scale 9
run "a missing picture" 1 "cannot load the picture back1_sml.bmp: not found" "$work/missing" "${nowhere[@]}" "$game"
finish
