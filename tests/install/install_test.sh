#!/usr/bin/env bash
# Installs the game into a scratch DESTDIR and checks what lands where, file by file; validates the
# desktop entry and the AppStream data; moves the installation elsewhere and starts it from `/` in a
# virtual X server, where it must find its pictures and show the background; a broken picture in
# the current folder must still stop it, and a missing one must name every place looked.
# usage: install_test.sh BUILD-DIR PREFIX APP-ID VERSION SOURCE-DIR SEND-CLOSE-REQUEST
set -uo pipefail

build=$1 prefix=$2 app_id=$3 version=$4 source_dir=$5 send_close=$6
source "$(dirname "$0")/../e2e/e2e_lib.sh"

# --- Install and look at every file -------------------------------------------------------------
root=$work/root
if ! DESTDIR=$root cmake --install "$build" >"$work/install.log" 2>&1; then
    cat "$work/install.log"; echo "FAILED: cmake --install"; exit 1
fi
installed=$root$prefix
icon_sizes=(16 24 32 48 64 128 256)
expected=(
    games/quorvantile
    share/games/quorvantile/back1_sml.bmp
    share/games/quorvantile/back2_sml.bmp
    share/applications/quorvantile.desktop
    share/icons/hicolor/scalable/apps/quorvantile.svg
    "share/metainfo/$app_id.metainfo.xml"
    share/man/man6/quorvantile.6.gz
    share/doc/quorvantile/copyright
    share/doc/quorvantile/changelog.gz
)
for size in "${icon_sizes[@]}"; do expected+=("share/icons/hicolor/${size}x$size/apps/quorvantile.png"); done
printf '%s\n' "${expected[@]/#/$prefix/}" | sort >"$work/expected"
(cd "$root" && find . ! -type d | sed 's|^\.||' | sort) >"$work/found"
check "exactly the expected files are installed, all under $prefix" diff "$work/expected" "$work/found"

check "the program is executable" test -x "$installed/games/quorvantile"
for picture in back1_sml.bmp back2_sml.bmp; do
    check "$picture is the shipped picture" cmp -s "$source_dir/assets/$picture" "$installed/share/games/quorvantile/$picture"
done
check "no installed file is writable by others or lacks read access" \
    test -z "$(find "$root" \( -perm /022 -o ! -perm -444 \) -print)"

# Icons: each the size its folder says, the ring's red at the top and cyan at the bottom, drawn
# at that size (only the ring's six colours and white: nothing blurred by enlarging).
pixel() { convert "$1" -alpha off -format "%[pixel:p{$2,$3}]" info:; }
for size in "${icon_sizes[@]}"; do
    icon=$installed/share/icons/hicolor/${size}x$size/apps/quorvantile.png
    check "icon ${size}x$size is $size x $size" test "$(identify -format '%wx%h' "$icon")" = "${size}x$size"
    ring=$((size * 4 / 32))
    check "...red at the top" test "$(pixel "$icon" $((size / 2)) "$ring")" = "srgb(255,0,0)"
    check "...cyan at the bottom" test "$(pixel "$icon" $((size / 2)) $((size - 1 - ring)))" = "srgb(0,255,255)"
    check "...crisp (7 colours)" test "$(identify -format '%k' "$icon")" -eq 7
done
svg=$installed/share/icons/hicolor/scalable/apps/quorvantile.svg
rsvg-convert -w 96 -h 96 "$svg" -o "$work/svg.png"
check "the scalable icon draws red at the top" test "$(pixel "$work/svg.png" 48 12)" = "srgb(255,0,0)"
check "...and cyan at the bottom" test "$(pixel "$work/svg.png" 48 83)" = "srgb(0,255,255)"

desktop=$installed/share/applications/quorvantile.desktop
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
check "...which starts the installed program" grep -qx "Exec=$prefix/games/quorvantile" "$desktop"
check "...in the arcade games" grep -qx 'Categories=Game;ArcadeGame;' "$desktop"
metainfo=$installed/share/metainfo/$app_id.metainfo.xml
check "appstreamcli validate accepts the metainfo" appstreamcli validate --no-net "$metainfo"
check "...which names release $version" grep -q "<release version=\"$version\"" "$metainfo"
check "the changelog is compressed and its newest entry is $version" \
    bash -c "zcat '$installed/share/doc/quorvantile/changelog.gz' | head -n 1 | grep -qF 'quorvantile ($version)'"
manual=$installed/share/man/man6/quorvantile.6.gz
check "the manual page renders without a warning" \
    bash -c "LC_ALL=C.UTF-8 MANWIDTH=250 man --warnings -l '$manual' 2>'$work/man.err' >'$work/man.txt' && ! test -s '$work/man.err'"
for topic in --scale --fullscreen --record --replay --help --version F11 Escape Pause back1_sml.bmp back2_sml.bmp "$prefix/share/games/quorvantile" "EXIT STATUS"; do
    check "...and tells of $topic" grep -qF -- "$topic" "$work/man.txt"
done

# --- Move the installation and start it from / ----------------------------------------------------
moved=$work/moved
mv "$installed" "$moved"
game=$moved/games/quorvantile
data=$moved/share/games/quorvantile

use_leak_suppressions "$source_dir"
start_xvfb 800x800
start_game_window / "$game"
check "the moved program, started from /, opens its window" true
sleep 1
import -window "$wid" "$work/shot.png"
# The glass (384 x 576 at 32, 32 of the 448-pixel-wide client area) against the background
# picture scaled to it; a window shown larger by the desktop's scale is brought back to 448 first.
convert "$work/shot.png" -filter point -resize '448x640!' -crop 384x576+32+32 +repage "$work/glass.png"
convert "$data/back2_sml.bmp" -filter point -resize '384x576!' "$work/expected.png"
differing=$(compare -metric AE -fuzz 3% "$work/glass.png" "$work/expected.png" null: 2>&1 | cut -d' ' -f1 || true)
check "...and shows the background picture in the glass ($differing of 221184 pixels differ)" below "$differing" 2000
# Closed as a player closes it (its exit status is the end-to-end test's business), so that the
# lock is free for the next starts.
"$send_close" "$wid"
wait_for_end "$game_pid" || kill -KILL "$game_pid" 2>/dev/null
game_pid=""

# --- A broken picture in the current folder stops the start-up, though the installed one is fine --
mkdir "$work/player"
head -c 4000 /dev/urandom >"$work/player/back2_sml.bmp"
(cd "$work/player" && timeout 60 "$game" >/dev/null 2>"$work/broken.err")
status=$?
check "a broken back2_sml.bmp in the current folder stops the start-up with status 1 (got $status)" test "$status" -eq 1
check "...and is named" grep -qF "back2_sml.bmp" "$work/broken.err"
check "...with its folder" grep -qF "$work/player" "$work/broken.err"

# --- No picture anywhere: every place looked is named ----------------------------------------------
if [[ -e $prefix/share/games/quorvantile/back1_sml.bmp ]]; then
    echo "note: not checked: a missing picture (this machine has the game installed in $prefix)"
else
    rm "$data/back1_sml.bmp"
    (cd / && timeout 60 "$game" >/dev/null 2>"$work/missing.err")
    status=$?
    check "without back1_sml.bmp anywhere the start-up stops with status 1 (got $status)" test "$status" -eq 1
    for place in "the current directory (/)" "$data" "$prefix/share/games/quorvantile"; do
        check "...and names $place" grep -qF "$place" "$work/missing.err"
    done
fi

finish
