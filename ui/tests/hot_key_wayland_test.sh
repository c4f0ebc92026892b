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
# Running the program as the desktop's user needs root.
[ "$(id -u)" = 0 ] || { echo "skipped: needs root"; exit 77; }
app="$(mktemp -d "$WL_OUT/app.XXXXXX")"
chmod 755 "$app"
cleanup() {
    kill $(jobs -p) 2> /dev/null || true
    wait 2> /dev/null || true
    rm -rf "$app"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- program:"; tail -20 "$app/program.log" 2> /dev/null || true
    echo "--- focus:"; focused || true
    echo "--- sway:"; grep -iE "selection|denying|error" "$WL_LOG" | tail -10 || true
    [ -n "${WL_SHOT:-}" ] && grim "$WL_SHOT" 2> /dev/null
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
# The kind ("xdg_shell" or "xwayland") and name of the focused window.
focused() {
    swaymsg -t get_tree | /usr/bin/python3 -c 'import json, sys
def walk(n):
    if n.get("focused"): print(n.get("shell") or "none", n.get("name"))
    for c in n.get("nodes", []) + n.get("floating_nodes", []): walk(c)
walk(json.load(sys.stdin))'
}
focus_is() { focused | grep -q "^$1"; }
x11_windows() { swaymsg -t get_tree | grep -c '"shell": "xwayland"'; }

# The program's folder, owned by the desktop's user (the key binding runs
# commands as that user, and the single-instance channel is per user).
mkdir -p "$app/database" "$app/home"
printf 'house\tku\346a\r\nhouse\tdom\r\ntree\tdrvo\r\n' > "$app/pairs.txt"
"$bin/wordbay-cli" import --format txt "$app/pairs.txt" "$app/database/English_Croatian.v03" \
    --locales 1033,1050 --names English,Croatian > /dev/null
cp "$bin/wordbay" "$app/"
cp -P "$bin"/libkeysnare.so* "$bin"/liblexbase.so* "$app/"
cat > "$app/wordbay.ini" << 'INI'
[options]
showsplash=0
[dictionary]
current=English_Croatian.v03
[hotkey]
usehotkeys=1
hotkeyactivate=1
key1=1
key2=3
key3=0
INI
chown -R "$WL_UID:$WL_UID" "$app"
program_env=(env -u QT_QPA_PLATFORM HOME="$app/home" XDG_RUNTIME_DIR="$WL_RUN"
    LD_LIBRARY_PATH="$app" WORDBAY_INSTANCE=wordbay-wayland-test)

# One virtual keyboard for the whole test: a fresh one may lose its first key.
timeout 300 wtype -s 600000 &

setpriv --reuid="$WL_UID" --regid="$WL_UID" --clear-groups "${program_env[@]}" \
    "$app/wordbay" --report-hot-key "$app/shown.txt" --keep-running > "$app/program.log" 2>&1 &
wait_for 40 sh -c '[ "$(swaymsg -t get_tree | grep -c "\"shell\": \"xwayland\"")" -ge 1 ]' ||
    fail "the program shows no XWayland window"
sleep 2

# A Wayland program has the focus; another owns the primary selection.
timeout 120 wev > /dev/null 2>&1 &
wait_for 15 focus_is xdg_shell || fail "the Wayland program did not get the focus"
timeout 60 wl-copy --primary house
wait_for 5 sh -c '[ "$(timeout 2 wl-paste --primary -n)" = house ]' || fail "no primary selection"

swaymsg "bindsym ctrl+alt+t exec ${program_env[*]} $app/wordbay --translate-selection" > /dev/null
timeout 10 wtype -M ctrl -M alt t -m alt -m ctrl
wait_for 30 grep -qx "kuća" "$app/shown.txt" || fail "the popup does not show the translation"
grep -qx dom "$app/shown.txt" || fail "not every translation shown"
focus_is xwayland || fail "the program's window does not have the focus"
# Without a portal the program said once that the desktop hides the key.
grep -qx "toldnoglobalkey=1" "$app/wordbay.ini" || fail "the program did not say the key is hidden"
[ -n "${WL_SHOT:-}" ] && grim "$WL_SHOT"
echo "Wayland: a desktop key binding translated the Wayland selection: passed"
