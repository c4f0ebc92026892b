#!/usr/bin/env bash
# The hot key on a Wayland desktop, end to end: the program runs on XWayland
# (chosen by itself), a Wayland program has the focus and owns the primary
# selection ("house"), and a key binding of the desktop runs
# `wordbay --translate-selection`: the popup shows kuća. There is no portal
# here: the program says once that the desktop hides its key.
#
# usage: wayland/wayland_session.sh hot_key_wayland_test.sh BUILD_BIN_DIR
set -euo pipefail
bin="$1"
: "${WAYLAND_DISPLAY:?run me inside wayland/wayland_session.sh}"
app="$(mktemp -d "$WL_OUT/app.XXXXXX")"
chmod 755 "$app"
source "$(dirname "${BASH_SOURCE[0]}")/hot_key_test_lib.sh"
trap 'end_jobs_and_remove "$app"' EXIT

fail() {
    echo "FAIL: $*"
    echo "--- program:"; tail -20 "$app/program.log" 2> /dev/null || true
    echo "--- focus:"; focused || true
    echo "--- sway:"; grep -iE "selection|denying|error" "$WL_LOG" | tail -10 || true
    [ -n "${WL_SHOT:-}" ] && grim "$WL_SHOT" 2> /dev/null
    exit 1
}

# The program's folder, owned by the desktop's user (the key binding runs
# commands as that user, and the single-instance channel is per user).
program_folder "$app" "$bin" 1
cp -P "$bin"/libkeysnare.so* "$bin"/liblexbase.so* "$app/"
chown -R "$WL_UID:$WL_UID" "$app"
program_env=(env -u QT_QPA_PLATFORM HOME="$app/home" XDG_RUNTIME_DIR="$WL_RUN"
    LD_LIBRARY_PATH="$app" WORDBAY_INSTANCE=wordbay-wayland-test)

# One virtual keyboard for the whole test: a fresh one may lose its first key.
timeout 300 wtype -s 600000 &

setpriv --reuid="$WL_UID" --regid="$WL_UID" --clear-groups "${program_env[@]}" \
    "$app/wordbay-test" --report-hot-key "$app/shown.txt" --keep-running > "$app/program.log" 2>&1 &
# Its window and, beside it, its note that the desktop hides the key (shown
# before the Wayland program takes the focus, so that it cannot take it back).
wait_for 60 sh -c '[ "$(timeout 10 swaymsg -t get_tree | grep -c "\"shell\": \"xwayland\"")" -ge 2 ]' ||
    fail "the program shows no XWayland window and no note"

# A Wayland program has the focus; another owns the primary selection.
timeout 300 wev > /dev/null 2>&1 &
wait_for 60 wayland_program_keeps_focus || fail "the Wayland program did not get the focus"
# In the foreground: it ends with the test, before the compositor does.
timeout 300 wl-copy --foreground --primary house &
wait_for 15 sh -c '[ "$(timeout 2 wl-paste --primary -n)" = house ]' || fail "no primary selection"

swaymsg "bindsym ctrl+alt+t exec ${program_env[*]} $app/wordbay --translate-selection" > /dev/null
timeout 10 wtype -M ctrl -M alt t -m alt -m ctrl
wait_for 30 grep -qx "kuća" "$app/shown.txt" || fail "the popup does not show the translation"
grep -qx dom "$app/shown.txt" || fail "not every translation shown"
focus_is xwayland || fail "the program's window does not have the focus"
# Without a portal the program said once that the desktop hides the key.
grep -qx "toldnoglobalkey=1" "$app/wordbay.ini" || fail "the program did not say the key is hidden"
[ -n "${WL_SHOT:-}" ] && grim "$WL_SHOT"
echo "Wayland: a desktop key binding translated the Wayland selection: passed"
