#!/usr/bin/env bash
# The hot key through the desktop's GlobalShortcuts portal (a fake one on a
# private session bus) on a headless Wayland desktop: the program creates its
# session and binds "Translate selection" with the configured keys as the
# preferred trigger; the desktop's Activated signal, while a Wayland program
# has the focus and owns the primary selection ("house"), shows kuća in the
# popup.
#
# usage: wayland/wayland_session.sh wayland/session_bus.sh --portal \
#            hot_key_portal_test.sh BUILD_BIN_DIR
set -euo pipefail
bin="$1"
: "${WAYLAND_DISPLAY:?run me inside wayland/wayland_session.sh}"
: "${DBUS_SESSION_BUS_ADDRESS:?run me inside wayland/session_bus.sh --portal}"
dir="$(mktemp -d)"
source "$(dirname "${BASH_SOURCE[0]}")/hot_key_test_lib.sh"
trap 'end_jobs_and_remove "$dir"' EXIT
fail() {
    echo "FAIL: $*"
    echo "--- portal calls:"; portal_calls || true
    echo "--- program:"; tail -20 "$dir/program.log" 2> /dev/null || true
    echo "--- focus:"; focused || true
    echo "--- sway:"; grep -iE "denying|error" "$WL_LOG" | tail -10 || true
    exit 1
}
portal() {
    timeout 10 gdbus call --session -d org.freedesktop.portal.Desktop \
        -o /org/freedesktop/portal/desktop -m "$@"
}
portal_calls() { portal org.freedesktop.DBus.Mock.GetCalls; }

# CONTROL + ALT + T
program_folder "$dir" "$bin" 1 1 2 53

timeout 300 wtype -s 600000 &
env -u QT_QPA_PLATFORM HOME="$dir/home" WORDBAY_INSTANCE="wordbay-portal-test-$$" \
    "$dir/wordbay-test" --report-hot-key "$dir/shown.txt" --keep-running > "$dir/program.log" 2>&1 &
wait_for 60 sh -c 'gdbus call --session -d org.freedesktop.portal.Desktop \
    -o /org/freedesktop/portal/desktop -m org.freedesktop.DBus.Mock.GetCalls |
    grep -q BindShortcuts' || fail "the program bound no shortcut"
calls="$(portal_calls)"
grep -q "CreateSession" <<< "$calls" || fail "no session created"
grep -q "'translate-selection'" <<< "$calls" || fail "not the translate-selection shortcut"
grep -q "'Translate selection'" <<< "$calls" || fail "no description"
grep -q "'CTRL+ALT+t'" <<< "$calls" || fail "the configured keys are not the preferred trigger"
echo "the program bound its shortcut"
wait_for 60 sh -c '[ "$(timeout 10 swaymsg -t get_tree | grep -c "\"shell\": \"xwayland\"")" -ge 1 ]' ||
    fail "the program shows no XWayland window"

timeout 300 wev > /dev/null 2>&1 &
wait_for 60 wayland_program_keeps_focus || fail "the Wayland program did not get the focus"
# In the foreground: it ends with the test, before the compositor does.
timeout 300 wl-copy --foreground --primary house &
wait_for 20 sh -c '[ "$(timeout 2 wl-paste --primary -n)" = house ]' || fail "no primary selection"
portal org.freedesktop.DBus.Mock.Trigger translate-selection > /dev/null
wait_for 30 grep -qx "kuća" "$dir/shown.txt" || fail "the popup does not show the translation"
! grep -q toldnoglobalkey "$dir/wordbay.ini" || fail "the program said the key cannot be seen"
echo "portal: the desktop's shortcut translated the Wayland selection: passed"
