#!/usr/bin/env bash
# The hot key end to end on a private X server: another X client owns a
# selected word (the primary selection), Ctrl+Shift is pressed and released,
# and the popup or the tooltip shows the word's translations. The program
# (its test build) reports what that window lists through its --report-hot-key hook.
#
# usage: hot_key_window_test.sh BUILD_BIN_DIR popup|tooltip   (under testing/x11_session.sh)
set -euo pipefail
bin="$1"
window="$2"
target=1
[ "$window" = tooltip ] && target=2
dir="$(mktemp -d)"
source "$(dirname "${BASH_SOURCE[0]}")/hot_key_test_lib.sh"
trap 'end_jobs_and_remove "$dir"' EXIT
program_folder "$dir" "$bin" "$target"

WORDBAY_INSTANCE="wordbay-hot-key-test-$$" "$dir/wordbay-test" --report-hot-key "$dir/shown.txt" &
program=$!
wait_for 60 xdotool search --onlyvisible --pid "$program" ||
    { echo "the program shows no window"; exit 1; }
wait_for 30 hot_key_armed || { echo "the program did not arm its hot key"; exit 1; }
# A word selected in another program.
printf 'house' | xclip -selection primary -i
wait_for 20 sh -c '[ "$(timeout 2 xclip -o -selection primary)" = house ]' ||
    { echo "no primary selection"; exit 1; }
xdotool keydown ctrl keydown shift
sleep 0.2
xdotool keyup shift keyup ctrl

for _ in $(seq 1 100); do
    kill -0 "$program" 2> /dev/null || break
    sleep 0.2
done
wait "$program" || true
cat "$dir/shown.txt"
grep -qx "kuća" "$dir/shown.txt" || { echo "the $window does not show the translation"; exit 1; }
echo "hot key to $window: passed"
