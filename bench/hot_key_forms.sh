#!/usr/bin/env bash
# The hot key's time to the popup with word forms on and off, in the same
# run: a word the dictionary holds ("house", where word forms add the look
# for forms beside it) and an inflected one ("houses", which without word
# forms finds nothing). Each press is timed from the release of the keys to
# the popup's list in the report file; the figure is the median of the runs.
# The report file is written when the popup's list changes, not when the same
# word is shown again, so an untimed press on another word ("tree") comes
# before each.
#
# Usage: xvfb-run -a bash bench/hot_key_forms.sh [build folder] [rounds of 5]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="${1:-$root/build}/bin"
rounds="${2:-4}"
runs=$((rounds * 5))
dir="$(mktemp -d)"
source "$root/ui/tests/hot_key_test_lib.sh"
trap 'end_jobs_and_remove "$dir"' EXIT
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
openbox --sm-disable > /dev/null 2>&1 &
wait_for 15 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
program_folder "$dir" "$bin" 1
xterm -geometry 40x4+0+0 -e sleep 600 &
wait_for 15 xdotool search --class xterm
term="$(xdotool search --class xterm | head -n 1)"

# press WORD EXPECTED: milliseconds from the hot key on WORD to a shown list
# holding EXPECTED.
press() {
    rm -f "$dir/shown.txt"
    printf '%s' "$1" | xclip -selection primary -i
    wait_for 5 sh -c "[ \"\$(xclip -o -selection primary)\" = '$1' ]"
    xdotool windowactivate --sync "$term" > /dev/null 2>&1 || true
    sleep 0.3
    xdotool keydown ctrl keydown shift
    sleep 0.1
    local start
    start=$(date +%s%N)
    xdotool keyup shift keyup ctrl
    wait_for 20 grep -q "$2" "$dir/shown.txt" || { echo "no answer to $1" >&2; return 1; }
    echo $((($(date +%s%N) - start) / 1000000))
}
start_program() {  # start_program 0|1: word forms off or on
    printf '[English_Croatian.v03]\nword_forms=%s\n' "$1" > "$dir/database/English_Croatian.v03.ini"
    WORDBAY_INSTANCE="wordbay-forms-bench-$$" "$dir/wordbay-test" --report-hot-key "$dir/shown.txt" \
        --keep-running > /dev/null 2>&1 &
    program=$!
    wait_for 30 xdotool search --pid "$program"
    sleep 2
}
time_press() {  # time_press WORD: "tree" first, then WORD timed
    press tree drvo > /dev/null
    press "$1" kuća
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

# Rounds of a few presses, the settings taking turns, so that a change in
# the machine's load falls on both.
for _ in $(seq 1 "$rounds"); do
    for forms in 0 1; do
        start_program "$forms"
        for _ in 1 2 3 4 5; do
            time_press house >> "$dir/house-$forms"
            [ "$forms" = 1 ] && time_press houses >> "$dir/houses-$forms"
        done
        kill "$program"
        wait "$program" 2> /dev/null || true
    done
done
off="$(median < "$dir/house-0")"
on="$(median < "$dir/house-1")"
echo "hot key to popup, \"house\" (median of $runs, ms): word forms off $off, on $on, ratio $(awk "BEGIN {printf \"%.2f\", $on / $off}")"
echo "hot key to popup, \"houses\" with word forms (median of $runs, ms): $(median < "$dir/houses-1")"
