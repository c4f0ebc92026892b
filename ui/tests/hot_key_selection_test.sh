#!/usr/bin/env bash
# The hot key end to end on a private X server with a window manager, where
# the selection is read the X11 way:
#  1. an xterm runs a command that traps SIGINT, nothing is selected: no
#     Ctrl+C reaches the terminal, the clipboard's word ("mouse") is looked up;
#  2. "house" selected in the xterm (the primary selection): the popup shows
#     kuća and dom, the trap never fires, the clipboard still holds "mouse";
#  3. a program that copies on Ctrl+C, nothing in the primary selection: the
#     copied word ("tree") is looked up and the clipboard holds "mouse" again;
#  4. no program running, "house" selected: `wordbay --translate-selection`
#     starts the program, which then looks the word up.
#
# usage: hot_key_selection_test.sh BUILD_BIN_DIR   (under testing/x11_session.sh)
set -euo pipefail
bin="$1"
dir="$(mktemp -d)"
source "$(dirname "${BASH_SOURCE[0]}")/hot_key_test_lib.sh"
trap 'end_jobs_and_remove "$dir"' EXIT
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

fail() {
    echo "FAIL: $*"
    echo "--- shown:"; cat "$dir/shown.txt" 2> /dev/null || true
    echo "--- copy keys seen: $(cat "$dir/copied" 2> /dev/null | wc -l)"
    echo "--- clipboard: '$(clipboard)', primary: '$(primary)', focus: $(xdotool getwindowfocus getwindowname 2> /dev/null)"
    echo "--- program:"; tail -20 "$dir/program.log" 2> /dev/null || true
    exit 1
}
shows() { grep -qx "$1" "${2:-$dir/shown.txt}" 2> /dev/null; }
clipboard() { timeout 5 xclip -o -selection clipboard 2> /dev/null || true; }
primary() { timeout 5 xclip -o -selection primary 2> /dev/null || true; }
press_hot_key() {
    xdotool keydown ctrl keydown shift
    sleep 0.2
    xdotool keyup shift keyup ctrl
}
# first_window XDOTOOL_SEARCH_ARGS...: the first matching window, once there
# is one. A search that meets a window closing under it fails: it is tried again.
first_window() {
    local id=""
    for _ in $(seq 1 75); do
        id="$(xdotool search "$@" 2> /dev/null | head -n 1)" || id=""
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
focused_is() { [ "$(xdotool getwindowfocus 2> /dev/null)" = "$1" ]; }
# press_hot_key_in WINDOW: gives WINDOW the focus, then presses the hot key.
press_hot_key_in() {
    xdotool windowactivate --sync "$1" > /dev/null 2>&1 || true
    wait_for 20 focused_is "$1" || fail "window $1 did not get the focus"
    sleep 0.5
    press_hot_key
}

start_window_manager "$dir/openbox.log" || exit 1

program_folder "$dir" "$bin" 1

# The user's clipboard holds a word of its own.
printf mouse | xclip -selection clipboard -i
wait_for 15 sh -c '[ "$(xclip -o -selection clipboard)" = mouse ]' || fail "no clipboard"

WORDBAY_INSTANCE="wordbay-selection-test-$$" "$dir/wordbay-test" --report-hot-key "$dir/shown.txt" \
    --keep-running > "$dir/program.log" 2>&1 &
program=$!
wait_for 60 xdotool search --onlyvisible --pid "$program" || fail "the program shows no window"
wait_for 30 hot_key_armed || fail "the program did not arm its hot key"

# 1. A terminal with a command that must not be interrupted.
xterm -geometry 60x8+0+0 -fn fixed -e bash -c \
    "printf 'house\\n'; trap 'echo GOT >> $dir/trap' INT; sleep 90; echo slept >> $dir/trap" &
term="$(first_window --class xterm)" || fail "no xterm"
press_hot_key_in "$term"
wait_for 30 shows "miš" || fail "nothing selected: the clipboard's word was not looked up"
sleep 1
[ ! -e "$dir/trap" ] || fail "the terminal's command got: $(cat "$dir/trap")"
echo "1. terminal, nothing selected: clipboard word looked up, no interrupt: passed"

# 2. "house" selected in the terminal.
xdotool windowactivate --sync "$term" > /dev/null 2>&1 || true
xdotool mousemove --window "$term" 12 7 click --repeat 2 --delay 100 1
if ! wait_for 15 sh -c '[ "$(xclip -o -selection primary)" = house ]'; then
    echo "(the double click selected '$(primary)'; the word is put into PRIMARY instead)"
    printf house | xclip -selection primary -i
fi
press_hot_key_in "$term"
wait_for 30 shows "kuća" || fail "the selected word was not looked up"
shows dom || fail "not every translation shown"
sleep 1
[ ! -e "$dir/trap" ] || fail "the terminal's command got: $(cat "$dir/trap")"
[ "$(clipboard)" = mouse ] || fail "the clipboard now holds '$(clipboard)'"
echo "2. terminal, word selected: translated, no interrupt, clipboard kept: passed"

# 3. A program that copies on Ctrl+C, nothing in PRIMARY.
term_pid="$(xdotool getwindowpid "$term")"
kill "$term_pid" 2> /dev/null || true
wait_for 20 sh -c "! kill -0 $term_pid 2> /dev/null" || fail "the xterm did not end"
wait_for 15 sh -c '[ -z "$(timeout 2 xclip -o -selection primary 2> /dev/null)" ]' ||
    fail "the primary selection is not empty: '$(primary)'"
"$bin/copy_on_ctrl_c" tree "$dir/copied" &
helper="$(first_window --name copy-on-ctrl-c)" || fail "no copying program"
press_hot_key_in "$helper"
wait_for 30 shows "drvo" || fail "the copied word was not looked up"
grep -q copied "$dir/copied" || fail "the program got no Ctrl+C"
wait_for 15 sh -c '[ "$(timeout 2 xclip -o -selection clipboard)" = mouse ]' ||
    fail "the clipboard was not put back: '$(clipboard)'"
echo "3. copying program: copied word translated, clipboard put back: passed"

# 4. The first start asked to translate the selection.
kill "$program"
wait "$program" 2> /dev/null || true
printf house | xclip -selection primary -i
WORDBAY_INSTANCE="wordbay-selection-test-$$" "$dir/wordbay-test" --translate-selection \
    --report-hot-key "$dir/started.txt" --keep-running > "$dir/program.log" 2>&1 &
wait_for 40 shows "kuća" "$dir/started.txt" || fail "the started program did not translate"
echo "4. --translate-selection with no program running: started and translated: passed"
