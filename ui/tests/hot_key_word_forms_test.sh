#!/usr/bin/env bash
# Word forms end to end on a private X server with a window manager:
#  1. "walked" selected in an xterm, the hot key: the popup shows walk's
#     translation (hodati) and names the base word ("walked: form of walk");
#  2. "hause" selected: the popup offers suggestions, house among them;
#  3. with the tooltip: "houses" shows kuća under "houses: form of house".
# WORDBAY_SCREENSHOTS=FOLDER keeps a picture of each step there.
#
# usage: hot_key_word_forms_test.sh BUILD_BIN_DIR   (under xvfb-run)
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
    echo "--- primary: '$(timeout 5 xclip -o -selection primary 2> /dev/null || true)'"
    echo "--- program:"; tail -20 "$dir/program.log" 2> /dev/null || true
    exit 1
}
shows() { grep -qx -- "$1" "$dir/shown.txt" 2> /dev/null; }
shows_part() { grep -q -- "$1" "$dir/shown.txt" 2> /dev/null; }
picture() {
    [ -n "${WORDBAY_SCREENSHOTS:-}" ] || return 0
    mkdir -p "$WORDBAY_SCREENSHOTS"
    import -window root "$WORDBAY_SCREENSHOTS/$1.png" 2> /dev/null || true
}
# select_word WORD: puts WORD into the primary selection, as a double click
# in a terminal does.
select_word() {
    printf '%s' "$1" | xclip -selection primary -i
    wait_for 5 sh -c "[ \"\$(xclip -o -selection primary)\" = '$1' ]" || fail "no selection"
}
press_hot_key_in() {
    xdotool windowactivate --sync "$1" > /dev/null 2>&1 || true
    sleep 0.5
    xdotool keydown ctrl keydown shift
    sleep 0.2
    xdotool keyup shift keyup ctrl
}
start_program() {  # start_program TARGET
    program_folder "$dir" "$bin" "$1"
    # The dictionary of these steps: walk and house, not their forms.
    printf 'walk\thodati\r\nhouse\tku\346a\r\nhouse\tdom\r\nmouse\tmi\232\r\n' > "$dir/pairs.txt"
    rm -f "$dir/database/English_Croatian.v03"
    "$bin/wordbay-cli" import --format txt "$dir/pairs.txt" \
        "$dir/database/English_Croatian.v03" --locales 1033,1050 \
        --names English,Croatian > /dev/null
    rm -f "$dir/shown.txt"
    WORDBAY_INSTANCE="wordbay-forms-test-$$" "$dir/wordbay-test" --report-hot-key "$dir/shown.txt" \
        --keep-running > "$dir/program.log" 2>&1 &
    program=$!
    wait_for 30 xdotool search --pid "$program" || fail "the program shows no window"
    sleep 2
}

start_window_manager "$dir/openbox.log" || exit 1

start_program 1
xterm -geometry 60x8+0+0 -fn fixed -e bash -c "printf 'She walked to the hause.\\n'; sleep 120" &
wait_for 15 xdotool search --class xterm || fail "no xterm"
term="$(xdotool search --class xterm | head -n 1)"

# 1. An inflected form goes to its base word.
select_word walked
press_hot_key_in "$term"
wait_for 30 shows hodati || fail "walked: walk's translation not shown"
wait_for 10 shows "walked: form of walk" || fail "walked: the base word is not named"
picture walked
echo "1. walked: hodati, named as a form of walk: passed"

# 2. A misspelt word gets suggestions.
select_word hause
press_hot_key_in "$term"
wait_for 30 shows_part "Did you mean" || fail "hause: no suggestions"
shows_part "house" || fail "hause: house is not among the suggestions"
picture hause
echo "2. hause: suggestions with house: passed"

# 3. The tooltip names the base word above the translations.
kill "$program"
wait "$program" 2> /dev/null || true
start_program 2
select_word houses
press_hot_key_in "$term"
wait_for 30 shows "kuća" || fail "houses: house's translations not in the tooltip"
shows "houses: form of house" || fail "houses: the tooltip does not name the base word"
picture houses-tooltip
echo "3. tooltip, houses: kuća under the base word: passed"
