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
cleanup() {
    kill $(jobs -p) 2> /dev/null || true
    wait 2> /dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "--- portal calls:"; portal_calls || true
    echo "--- program:"; tail -20 "$dir/program.log" 2> /dev/null || true
    exit 1
}
wait_for() {
    local tenths=$(($1 * 10))
    shift
    for _ in $(seq 1 "$tenths"); do
        "$@" > /dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
portal() {
    timeout 10 gdbus call --session -d org.freedesktop.portal.Desktop \
        -o /org/freedesktop/portal/desktop -m "$@"
}
portal_calls() { portal org.freedesktop.DBus.Mock.GetCalls; }
focus_is() {
    swaymsg -t get_tree | /usr/bin/python3 -c 'import json, sys
def walk(n):
    if n.get("focused"): print(n.get("shell") or "none")
    for c in n.get("nodes", []) + n.get("floating_nodes", []): walk(c)
walk(json.load(sys.stdin))' | grep -q "^$1"
}

mkdir -p "$dir/database" "$dir/home"
printf 'house\tku\346a\r\nhouse\tdom\r\n' > "$dir/pairs.txt"
"$bin/wordbay-cli" import --format txt "$dir/pairs.txt" "$dir/database/English_Croatian.v03" \
    --locales 1033,1050 --names English,Croatian > /dev/null
cp "$bin/wordbay" "$dir/"
# CONTROL + ALT + T
cat > "$dir/wordbay.ini" << 'INI'
[options]
showsplash=0
[dictionary]
current=English_Croatian.v03
[hotkey]
usehotkeys=1
hotkeyactivate=1
key1=1
key2=2
key3=53
INI

timeout 300 wtype -s 600000 &
env -u QT_QPA_PLATFORM HOME="$dir/home" WORDBAY_INSTANCE="wordbay-portal-test-$$" \
    "$dir/wordbay" --report-hot-key "$dir/shown.txt" --keep-running > "$dir/program.log" 2>&1 &
wait_for 30 sh -c 'gdbus call --session -d org.freedesktop.portal.Desktop \
    -o /org/freedesktop/portal/desktop -m org.freedesktop.DBus.Mock.GetCalls |
    grep -q BindShortcuts' || fail "the program bound no shortcut"
calls="$(portal_calls)"
grep -q "CreateSession" <<< "$calls" || fail "no session created"
grep -q "'translate-selection'" <<< "$calls" || fail "not the translate-selection shortcut"
grep -q "'Translate selection'" <<< "$calls" || fail "no description"
grep -q "'CTRL+ALT+t'" <<< "$calls" || fail "the configured keys are not the preferred trigger"
echo "the program bound its shortcut"
sleep 1

timeout 120 wev > /dev/null 2>&1 &
wait_for 15 focus_is xdg_shell || fail "the Wayland program did not get the focus"
timeout 60 wl-copy --primary house
portal org.freedesktop.DBus.Mock.Trigger translate-selection > /dev/null
wait_for 30 grep -qx "kuća" "$dir/shown.txt" || fail "the popup does not show the translation"
! grep -q toldnoglobalkey "$dir/wordbay.ini" || fail "the program said the key cannot be seen"
echo "portal: the desktop's shortcut translated the Wayland selection: passed"
