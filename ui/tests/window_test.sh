#!/usr/bin/env bash
# The main window as a user meets it under a window manager (openbox) on a
# private X server:
#   placement  the frame's top-left corner of the main window and of the text
#              window stays at the stored place over three starts and regular
#              closes, with the hot key on (at y = 0 the title bar shows);
#   tray       minimising with "minimizetotray" hides the window in the tray,
#              three times, each time still hidden a second later (a second
#              start brings it back);
#   typing     a word typed the moment the window maps, before the dictionary
#              is loaded, is searched once it is (ten starts in a row);
#   popup      with no place stored, the hot key opens the popup beside the
#              mouse pointer in the screen's corner, frame and all on the screen;
#   ontop      ticking "Main window always on top" in the settings dialog and
#              answering Yes: the main window goes above the others, and the
#              settings dialog and its message boxes stay above it.
#
# usage: window_test.sh BUILD_BIN_DIR placement|tray|typing|popup|ontop   (under testing/x11_session.sh)
set -euo pipefail
bin="$1"
mode="$2"
dir="$(mktemp -d)"
source "$(dirname "${BASH_SOURCE[0]}")/hot_key_test_lib.sh"
trap 'end_jobs_and_remove "$dir"' EXIT

# A home, runtime folder and instance name of its own keep it apart from
# every other program running at the same time.
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export WORDBAY_INSTANCE="wordbay-window-test-$mode-$$"

mkdir -p "$dir/database"
printf 'house\tkuca\r\nhouse\tdom\r\ntree\tdrvo\r\n' > "$dir/pairs.txt"
"$bin/wordbay-cli" import --format txt "$dir/pairs.txt" "$dir/database/English_Croatian.v03" \
    --locales 1033,1050 --names English,Croatian > /dev/null
cp "$bin/wordbay" "$bin/wordbay-test" "$dir/"
cat > "$dir/wordbay.ini" << 'INI'
[options]
showsplash=0
minimizetotray=1
showtext=1
[sizetext]
x=300
y=0
w=900
h=450
[dictionary]
current=English_Croatian.v03
[hotkey]
usehotkeys=1
[size]
x=120
y=200
cx=640
cy=420
INI

fail() { echo "$*"; exit 1; }

start_window_manager "$dir/openbox.log" || exit 1

# The first visible window whose title matches $1, waiting up to 30 s for it
# to map.
find_window() {
    local id=""
    for _ in $(seq 1 150); do
        id="$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -n 1 || true)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

main_window() { find_window '^KX Dictionary'; }

viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
managed() { xprop -id "$1" WM_STATE | grep -q 'window state: Normal'; }

# The frame's top-left corner: the client's place on the screen less its
# place inside the frame.
frame_place() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {ax=$NF} /Absolute upper-left Y/ {ay=$NF}
        /Relative upper-left X/ {rx=$NF} /Relative upper-left Y/ {ry=$NF}
        END {print ax-rx "," ay-ry}'
}

# frame_at WINDOW X,Y: whether the frame of WINDOW is at X,Y.
frame_at() { [ "$(frame_place "$1")" = "$2" ]; }

setting() { sed -n "/^\[$1\]/,/^\[/p" "$dir/wordbay.ini" | grep "^$2=" | head -n 1 | cut -d= -f2; }

# The report hooks give up after a minute: wait a little longer than that.
wait_exit() {
    for _ in $(seq 1 400); do
        kill -0 "$1" 2> /dev/null || { wait "$1" || true; return 0; }
        sleep 0.2
    done
    fail "the program did not end"
}

close_window() {
    xdotool windowactivate --sync "$1" > /dev/null 2>&1 || true
    sleep 0.3
    xdotool key --clearmodifiers alt+F4
}

case "$mode" in
placement)
    for run in 1 2 3; do
        "$dir/wordbay" &
        program=$!
        window="$(main_window)" || fail "run $run: no main window"
        # Placed once the window manager has taken it in and framed it.
        wait_for 30 managed "$window" || fail "run $run: the window manager did not take it in"
        wait_for 15 frame_at "$window" 120,200 ||
            fail "run $run: the frame is at $(frame_place "$window"), not at 120,200"
        text="$(find_window '^Text translation')" || fail "run $run: no text window"
        wait_for 30 managed "$text" || fail "run $run: the window manager did not take the text window in"
        wait_for 15 frame_at "$text" 300,0 || true
        place="$(frame_place "$text")"
        [ "$place" = "300,0" ] || fail "run $run: the text window's frame is at $place, not at 300,0"
        close_window "$window"
        wait_exit "$program"
        stored="$(setting size x),$(setting size y)"
        [ "$stored" = "120,200" ] || fail "run $run: the place stored at the close is $stored"
        stored="$(setting sizetext x),$(setting sizetext y),$(setting sizetext w),$(setting sizetext h)"
        [ "$stored" = "300,0,900,450" ] || fail "run $run: the text window stored $stored"
    done
    ;;
tray)
    "$bin/tray_host" > "$dir/tray.txt" &
    wait_for 30 grep -q ready "$dir/tray.txt" || fail "no notification area"
    "$dir/wordbay" &
    program=$!
    window="$(main_window)" || fail "no main window"
    # Minimised once the window manager has taken the window in (it sets
    # its WM_STATE).
    wait_for 30 managed "$window" || fail "the window manager did not take the window in"
    for round in 1 2 3; do
        xdotool windowminimize "$window"
        wait_for 30 sh -c "! xwininfo -id $window | grep -q IsViewable" ||
            fail "round $round: the window was not hidden"
        # Still hidden a second later.
        sleep 1
        ! viewable "$window" || fail "round $round: the window shows again after minimising"
        # A second start brings the running program to the front.
        "$dir/wordbay"
        wait_for 30 viewable "$window" ||
            fail "round $round: the window did not come back from the tray"
        sleep 1
    done
    close_window "$window"
    wait_exit "$program"
    ;;
typing)
    for run in $(seq 1 10); do
        rm -f "$dir/typed.txt"
        "$dir/wordbay-test" --report-typed "$dir/typed.txt" &
        program=$!
        window="$(main_window)" || fail "run $run: no main window"
        xdotool type --delay 20 house
        wait_exit "$program"
        [ "$(head -n 1 "$dir/typed.txt" 2> /dev/null)" = "house" ] ||
            fail "run $run: the edit box holds '$(head -n 1 "$dir/typed.txt" 2> /dev/null)'"
        grep -qx house "$dir/typed.txt" || fail "run $run: house was not searched"
    done
    ;;
popup)
    sed -i 's/^usehotkeys=1$/usehotkeys=1\nhotkeyactivate=1/' "$dir/wordbay.ini"
    "$dir/wordbay" &
    program=$!
    main_window > /dev/null || fail "no main window"
    wait_for 30 hot_key_armed || fail "the program did not arm its hot key"
    read -r width height <<< "$(xdotool getdisplaygeometry)"
    xdotool mousemove $((width - 5)) $((height - 5))
    printf 'house' | xclip -selection primary -i
    wait_for 20 sh -c '[ "$(timeout 2 xclip -o -selection primary)" = house ]' ||
        fail "no primary selection"
    xdotool keydown ctrl keydown shift
    sleep 0.2
    xdotool keyup shift keyup ctrl
    popup="$(find_window '^English - Croatian$')" || fail "no popup"
    # The frame's corners, once the window manager has framed the popup.
    corners() {
        xwininfo -id "$popup" | awk '
            /Absolute upper-left X/ {ax=$NF} /Absolute upper-left Y/ {ay=$NF}
            /Relative upper-left X/ {rx=$NF} /Relative upper-left Y/ {ry=$NF}
            /Width:/ {w=$NF} /Height:/ {h=$NF}
            END {print ax-rx, ay-ry, ax+w+rx, ay+h+rx}'
    }
    placed() {
        read -r x y right bottom <<< "$(corners)"
        [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ "$right" -le "$width" ] &&
            [ "$bottom" -le "$height" ] && [ "$x" -gt $((width / 2)) ] && [ "$y" -gt $((height / 2)) ]
    }
    wait_for 30 managed "$popup" || fail "the window manager did not take the popup in"
    wait_for 20 placed || true
    read -r x y right bottom <<< "$(corners)"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ "$right" -le "$width" ] && [ "$bottom" -le "$height" ] ||
        fail "the popup ($x,$y)-($right,$bottom) is not inside the screen ${width}x$height"
    [ "$x" -gt $((width / 2)) ] && [ "$y" -gt $((height / 2)) ] ||
        fail "the popup at $x,$y is not beside the pointer"
    kill "$program"
    wait "$program" 2> /dev/null || true
    ;;
ontop)
    sed -i 's/^usehotkeys=1$/usehotkeys=1\nhotkeyactivate=0/' "$dir/wordbay.ini"
    "$dir/wordbay-test" --command 327 &
    program=$!
    window="$(main_window)" || fail "no main window"
    dialog="$(find_window '^Dictionary settings$')" || fail "no settings dialog"
    wait_for 30 managed "$dialog" || fail "the window manager did not take the dialog in"
    # The box "Main window always on top" of the Interface page.
    xdotool mousemove --window "$dialog" 45 278 click 1
    box="$(find_window '^Warning$')" || fail "no question after ticking the box"
    above() {  # whether window $1 is stacked above window $2
        xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x' |
            awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" \
                '$1 == a {pa = NR} $1 == b {pb = NR} END {exit !(pa > pb && pb > 0)}'
    }
    above "$box" "$window" || fail "the question is below the main window"
    xdotool windowactivate --sync "$box" > /dev/null 2>&1 || true
    xdotool key Return
    wait_for 30 sh -c "xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE" ||
        fail "the main window is not kept above the others"
    viewable "$dialog" || fail "the settings dialog is gone"
    wait_for 20 above "$dialog" "$window" || fail "the settings dialog is below the main window"
    # Its next message box is above both.
    xdotool mousemove --window "$dialog" 45 278 click 1
    sleep 0.5
    xdotool mousemove --window "$dialog" 45 278 click 1
    box="$(find_window '^Warning$')" || fail "no question after ticking the box again"
    above "$box" "$window" || fail "the second question is below the main window"
    xdotool key Escape
    kill "$program"
    wait "$program" 2> /dev/null || true
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
echo "window $mode: passed"
