#!/usr/bin/env bash
# The hot key end to end on a private X server: another X client owns a
# selected word (the primary selection), Ctrl+Shift is pressed and released,
# and the popup or the tooltip shows the word's translations. The program
# reports what that window lists through its --report-hot-key test hook.
#
# usage: hot_key_window_test.sh BUILD_BIN_DIR popup|tooltip   (under xvfb-run)
set -euo pipefail
bin="$1"
window="$2"
target=1
[ "$window" = tooltip ] && target=2
dir="$(mktemp -d)"
trap 'kill $(jobs -p) 2> /dev/null || true; rm -rf "$dir"' EXIT

source "$(dirname "${BASH_SOURCE[0]}")/hot_key_test_lib.sh"
program_folder "$dir" "$bin" "$target"

WORDBAY_INSTANCE="wordbay-hot-key-test-$$" "$dir/wordbay" --report-hot-key "$dir/shown.txt" &
program=$!
sleep 3
# A word selected in another program.
printf 'house' | xclip -selection primary -i
sleep 0.5
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
