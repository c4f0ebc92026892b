#!/usr/bin/env bash
# The history and the favourites end to end, through the real program under
# a window manager (openbox) on a private X server:
#   history     five look-ups typed into the main window and two by the hot
#               key are in the history, newest first, repeats counted;
#   kill        the program killed with SIGKILL during a burst of look-ups
#               keeps every look-up counted more than a second before, its
#               file whole, and starts again with it;
#   favourite   the star of the popup adds the word shown there with its
#               translations to the favourites, and the export has it.
# wordbay-cli reads the files the program wrote (the same code reads them in
# the program's windows). WORDBAY_SHOTS=DIR keeps screenshots of the History
# and Favourites windows there.
#
# usage: word_lists_test.sh BUILD_BIN_DIR history|kill|favourite   (under xvfb-run)
set -euo pipefail
bin="$1"
mode="$2"
dir="$(mktemp -d)"
trap 'kill -9 $(jobs -p) 2> /dev/null || true; wait 2> /dev/null || true; rm -rf "$dir"' EXIT

source "$(dirname "${BASH_SOURCE[0]}")/hot_key_test_lib.sh"
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export WORDBAY_INSTANCE="wordbay-word-lists-test-$mode-$$"
program_folder "$dir" "$bin" 1
printf 'autotranslate=0\n' >> "$dir/wordbay.ini"

start_window_manager "$dir/openbox.log" || exit 1

fail() { echo "$*"; exit 1; }
history() { "$bin/wordbay-cli" history --data-dir "$dir" | cut -f1,2; }
favourites() { "$bin/wordbay-cli" favourites --data-dir "$dir"; }

main_window() { xdotool search --onlyvisible --name '^KX Dictionary' 2> /dev/null | head -n 1; }

start_program() {
    "$dir/wordbay" &
    program=$!
    wait_for 60 main_window || fail "the main window does not show"
    # The dictionary is loaded once a word typed finds its translation.
    sleep 2
}

# Types WORD into the main window's search box and presses Enter: its
# translations show at once.
look_up() {
    local window
    window="$(main_window)"
    xdotool windowactivate --sync "$window" > /dev/null 2>&1 || true
    xdotool key --window "$window" Escape
    xdotool key ctrl+a
    xdotool type --delay 40 "$1"
    sleep 0.3
    xdotool key Return
    sleep "${2:-0.6}"
}

hot_key() {
    printf '%s' "$1" | xclip -selection primary -i
    sleep 0.3
    xdotool keydown ctrl keydown shift
    sleep 0.2
    xdotool keyup shift keyup ctrl
    sleep 1.5
}

shot() {
    [ -n "${WORDBAY_SHOTS:-}" ] || return 0
    mkdir -p "$WORDBAY_SHOTS"
    import -window root "$WORDBAY_SHOTS/$1.png"
}

case "$mode" in
    history)
        start_program
        for word in house tree mouse house tree; do look_up "$word"; done
        hot_key mouse
        hot_key house
        sleep 1.5
        expected=$'house\t3\nmouse\t2\ntree\t2'
        [ "$(history)" = "$expected" ] || fail "history: $(history)"
        xdotool windowactivate --sync "$(main_window)" > /dev/null 2>&1 || true
        xdotool key ctrl+h
        wait_for 10 xdotool search --onlyvisible --name '^History$' || fail "no History window"
        sleep 0.5
        shot history-window
        kill "$program"
        wait "$program" || true
        ;;
    kill)
        start_program
        for word in house tree mouse house; do look_up "$word" 0.3; done
        sleep 1.5  # counted and written
        before="$(history)"
        [ "$before" = $'house\t2\nmouse\t1\ntree\t1' ] || fail "before the kill: $before"
        # A burst of look-ups, and the kill in its middle.
        for word in tree mouse house tree; do look_up "$word" 0.05; done
        kill -9 "$program"
        wait "$program" 2> /dev/null || true
        after="$("$bin/wordbay-cli" history --data-dir "$dir" 2>&1)" || fail "unreadable: $after"
        echo "$after" | grep -q 'damaged' && fail "damaged after the kill: $after"
        count() { history | awk -F'\t' -v w="$1" '$1 == w { print $2 }'; }
        [ "$(count house)" -ge 2 ] && [ "$(count mouse)" -ge 1 ] && [ "$(count tree)" -ge 1 ] ||
            fail "lost look-ups: $(history)"
        # The program starts again with the history whole.
        start_program
        look_up mouse 1.8
        kill "$program"
        wait "$program" || true
        [ "$(count mouse)" -ge 2 ] || fail "no look-up after the restart: $(history)"
        ;;
    favourite)
        start_program
        hot_key house
        popup="$(xdotool search --onlyvisible --name '^English - Croatian' | head -n 1)"
        [ -n "$popup" ] || fail "the popup does not show"
        eval "$(xdotool getwindowgeometry --shell "$popup")"
        # The star sits at the right end of the popup's edit box.
        xdotool mousemove --window "$popup" --sync $((WIDTH - 10)) 10 click 1
        sleep 1.5
        shot popup-star
        favourites | grep -q $'^house\tkuća; dom\tEnglish_Croatian.v03\t' ||
            fail "favourites: $(favourites)"
        "$bin/wordbay-cli" favourites export "$dir/deck.csv" --data-dir "$dir"
        grep -q '^house,kuća; dom,English_Croatian.v03,' "$dir/deck.csv" || fail "export: $(cat "$dir/deck.csv")"
        xdotool windowactivate --sync "$(main_window)" > /dev/null 2>&1 || true
        xdotool key ctrl+b
        wait_for 10 xdotool search --onlyvisible --name '^Favourites$' || fail "no Favourites window"
        sleep 0.5
        shot favourites-window
        kill "$program"
        wait "$program" || true
        ;;
esac
echo "word lists $mode: passed"
