# What the hot-key tests share; sourced by them.

# A signal ends the test through its EXIT trap, which ends what it started.
trap 'exit 143' TERM INT HUP

# end_jobs_and_remove PATH...: ends the script's background jobs, then
# removes PATH (for an EXIT trap).
end_jobs_and_remove() {
    kill $(jobs -p) 2> /dev/null || true
    wait 2> /dev/null || true
    rm -rf "$@"
}

# wait_for SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds;
# fails when the time (on the clock: each try may be slow) is up.
wait_for() {
    local deadline=$((${EPOCHREALTIME%.*} + $1))
    shift
    until "$@" > /dev/null 2>&1; do
        [ "${EPOCHREALTIME%.*}" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# start_window_manager LOG: starts openbox on $DISPLAY and waits until it
# manages the screen. One that dies while starting (a loaded machine, a
# server slow to answer) is started again; its output goes to LOG, shown
# when it never comes up.
start_window_manager() {
    local log=$1 manager
    for _ in 1 2 3; do
        openbox --sm-disable >> "$log" 2>&1 &
        manager=$!
        wait_for 60 sh -c "kill -0 $manager && xprop -root _NET_SUPPORTING_WM_CHECK |
            grep -q 'window id'" && kill -0 "$manager" 2> /dev/null && return 0
        kill "$manager" 2> /dev/null || true
        wait "$manager" 2> /dev/null || true
    done
    echo "the window manager did not start:"
    tail -n 20 "$log"
    return 1
}

# hot_key_armed: whether a program of this user on this X display has armed
# its hot key: keysnare's block of the user and display names the window to
# tell and the first key.
hot_key_armed() {
    local fields
    read -r -a fields <<< "$(od -An -tu4 -N8 "/dev/shm/dllmemfilemap.$(id -u).${DISPLAY%.*}")"
    [ "${fields[0]:-0}" != 0 ] && [ "${fields[1]:-0}" != 0 ]
}

# program_folder DIR BIN_DIR TARGET [KEY1 KEY2 KEY3]: a portable program
# folder in DIR: the program of BIN_DIR, a small English-Croatian dictionary
# (house: kuća, dom; mouse: miš; tree: drvo) and settings that open it, with
# the hot keys on, calling window TARGET (0 main, 1 popup, 2 tooltip) with
# the keys of the hot-key table (by default CONTROL + SHIFT).
program_folder() {
    local dir=$1 bin=$2 target=$3 key1=${4:-1} key2=${5:-3} key3=${6:-0}
    mkdir -p "$dir/database" "$dir/home"
    # In the lists' code pages: windows-1250 for Croatian.
    printf 'house\tku\346a\r\nhouse\tdom\r\nmouse\tmi\232\r\ntree\tdrvo\r\n' > "$dir/pairs.txt"
    "$bin/wordbay-cli" import --format txt "$dir/pairs.txt" \
        "$dir/database/English_Croatian.v03" --locales 1033,1050 \
        --names English,Croatian > /dev/null
    cp "$bin/wordbay" "$bin/wordbay-test" "$dir/"
    cat > "$dir/wordbay.ini" << INI
[options]
showsplash=0
[dictionary]
current=English_Croatian.v03
[hotkey]
usehotkeys=1
hotkeyactivate=$target
key1=$key1
key2=$key2
key3=$key3
INI
}

# The kind ("xdg_shell" or "xwayland") and name of the window that has the
# focus in the sway session.
focused() {
    timeout 10 swaymsg -t get_tree | /usr/bin/python3 -c 'import json, sys
def walk(n):
    if n.get("focused"): print(n.get("shell") or "none", n.get("name"))
    for c in n.get("nodes", []) + n.get("floating_nodes", []): walk(c)
walk(json.load(sys.stdin))'
}
focus_is() { focused | grep -q "^$1"; }

# wayland_program_keeps_focus: gives the focus to the Wayland program (wev)
# and whether it still has it a second later. The program's windows ask for
# the focus as they map, which on a busy machine may come after wev mapped.
wayland_program_keeps_focus() {
    timeout 10 swaymsg '[app_id="wev"] focus' > /dev/null 2>&1
    focus_is xdg_shell && sleep 1 && focus_is xdg_shell
}
