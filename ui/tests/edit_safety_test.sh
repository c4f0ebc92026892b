#!/usr/bin/env bash
# The program and other writers of its dictionary, as separate processes on a
# private X server, driven by keys as a user drives them:
#
#   tool      the program has an unsaved edit; wordbay-cli update adds a pair;
#             the program is closed and saves: both are in the file;
#   copy      the same with a second copy of the program saving its own edit;
#   sync      the same with a sync tool putting a new file in the old one's
#             place (written beside it, then renamed over it);
#   conflict  the sync tool's file changed the word the program changed too:
#             the program asks; Cancel keeps the other file, No overwrites it;
#   reload    the program shows a typed word's list and edits nothing; the tool
#             adds a pair: the list shows it soon after (the time it took is
#             printed), the typed text as it was;
#   inflated  a dictionary of 100 KB whose texts inflate a thousand to one,
#             under a limit of 256 MB on the process's data: wordbay-cli finds
#             it damaged, and the program, with it as its dictionary, says it
#             can't load it and stays; each takes less than 256 MB.
#
# What the window lists is read as a user would: its words selected and
# copied to the clipboard. Every step waits for what it brought about (a
# window, a copied text, a process's end), up to a bound.
#
# usage: edit_safety_test.sh BUILD_BIN_DIR MODE   (under testing/x11_session.sh)
set -euo pipefail
bin="$1"
mode="$2"
dir="$(mktemp -d)"
source "$(dirname "${BASH_SOURCE[0]}")/hot_key_test_lib.sh"
trap 'end_jobs_and_remove "$dir"' EXIT

export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
dictionary="$dir/database/English_Croatian.v03"

fail() {
    echo "$mode: FAIL: $*"
    echo "--- the dictionary holds:"
    "$bin/wordbay-cli" export --format txt --encoding utf-8 "$dictionary" "$dir/held.txt" \
        > /dev/null 2>&1 && cat "$dir/held.txt"
    echo "--- windows:"
    xdotool search --onlyvisible --name . getwindowname %@ 2> /dev/null || true
    for log in "$dir"/*.log; do
        [ -s "$log" ] && { echo "--- $log:"; tail -20 "$log"; }
    done
    exit 1
}

mkdir -p "$dir/database"
printf 'house\tkuca\r\nhouse\tdom\r\ntree\tdrvo\r\n' > "$dir/pairs.txt"
"$bin/wordbay-cli" import --format txt "$dir/pairs.txt" "$dictionary" \
    --locales 1033,1050 --names English,Croatian > /dev/null
cp "$bin/wordbay" "$dir/"
cat > "$dir/wordbay.ini" << 'INI'
[options]
showsplash=0
[dictionary]
current=English_Croatian.v03
[hotkey]
usehotkeys=0
[size]
x=40
y=40
cx=640
cy=420
INI

start_window_manager "$dir/openbox.log" || exit 1

# The visible windows of process $1 whose title matches $2.
windows_of() { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2> /dev/null; }

# The first of them, waiting up to 60 s for one to map (while the process
# runs).
window_of() {
    local id="" until=$((${EPOCHREALTIME%.*} + 60))
    while [ "${EPOCHREALTIME%.*}" -lt "$until" ] && kill -0 "$1" 2> /dev/null; do
        id="$(windows_of "$1" "$2" | head -n 1)" || id=""
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

gone() { ! xwininfo -id "$1" 2> /dev/null | grep -q 'Map State: IsViewable'; }
stopped() { ! kill -0 "$1" 2> /dev/null; }
focused_is() { [ "$(xdotool getwindowfocus 2> /dev/null)" = "$1" ]; }

focus() {
    timeout 10 xdotool windowactivate --sync "$1" > /dev/null 2>&1 || true
    wait_for 10 focused_is "$1" || fail "window $1 did not get the focus"
}

keys() { xdotool key --clearmodifiers --delay 60 "$@"; }
typed() { xdotool type --delay 40 "$1"; }

clipboard() { timeout 5 xclip -selection clipboard -o 2> /dev/null | tr -d '\r' || true; }

# What the keys $2... copy in the window $1, once they copied it (an empty
# line when they copy nothing within 3 s). The clipboard holds a marker
# first, so that an older text is not taken for the copied one.
copied() {
    local window=$1 marker="nothing copied $RANDOM$RANDOM" text
    shift
    printf '%s' "$marker" | xclip -selection clipboard -i > /dev/null 2>&1
    wait_for 5 sh -c '[ "$(timeout 5 xclip -selection clipboard -o)" = "$1" ]' - "$marker" ||
        fail "the clipboard does not take a text"
    focus "$window"
    keys "$@"
    for _ in $(seq 1 30); do
        text="$(clipboard)"
        [ "$text" = "$marker" ] || { printf '%s\n' "$text"; return 0; }
        sleep 0.1
    done
    echo
}

# What the window $1 shows: the source edit box's text, then the words of its
# list, one per line.
shown() {
    copied "$1" Escape ctrl+c
    copied "$1" Escape Tab ctrl+a ctrl+c
}

# Whether the window $1 lists the word $2.
lists() { copied "$1" Escape Tab ctrl+a ctrl+c | grep -qx "$2"; }

# Whether the window $1 shows the text $2 typed and the word $3 listed.
shows() {
    shown "$1" > "$dir/shown.txt"
    [ "$(head -n 1 "$dir/shown.txt")" = "$2" ] && tail -n +2 "$dir/shown.txt" | grep -qx "$3"
}

# Starts a copy of the program with instance name $1; its process id in
# $program, its main window in $window once it lists the dictionary's words
# (the list is empty until something is typed). Each copy has a cache of its
# own: the look-up image another copy wrote would answer before the
# dictionary is loaded.
start() {
    XDG_CACHE_HOME="$dir/cache-$1" WORDBAY_INSTANCE="wordbay-edit-safety-$1-$$" \
        "$dir/wordbay" > "$dir/$1.log" 2>&1 &
    program=$!
    window="$(window_of "$program" '^KX Dictionary')" || fail "$1: no main window"
    focus "$window"
    keys Escape
    typed h
    wait_for 60 lists "$window" house || fail "$1: the dictionary's words are not listed"
}

# Answers the message box of process $1 titled $2 with the keys $3..., and
# waits for it to go.
answer() {
    local box
    box="$(window_of "$1" "$2")" || fail "no message box '$2'"
    focus "$box"
    keys "${@:3}"
    wait_for 30 gone "$box" || fail "the message box '$2' stays"
}

# In edit mode of the window $1 of process $2: adds the pair $3 - $4.
add_pair() {
    focus "$1"
    keys Escape
    typed "$3"
    keys shift+Escape
    typed "$4"
    keys alt+f a
    answer "$2" '^English - Croatian$' Return
    answer "$2" '^Information$' Return
}

# Waits up to 30 s for process $1 to end.
ended() {
    wait_for 30 stopped "$1" || fail "the program did not end"
    wait "$1" || true
}

# Closes the window $1 of process $2, answering Yes to the question whether
# to save and the keys $3... (if given) to what the save then asks.
close_saving() {
    focus "$1"
    keys alt+F4
    answer "$2" '^Save$' Return
    [ $# -lt 3 ] || answer "$2" '^File changed by another program$' "${@:3}"
    # The save says what it did, unless the window is gone with it.
    local box
    if box="$(window_of "$2" '^Info$')"; then
        focus "$box"
        keys Return
    fi
    ended "$2"
}

holds() {
    "$bin/wordbay-cli" translate "$dictionary" "$1" 2> /dev/null | grep -qx "$2"
}

# A sync tool: the dictionary as another machine saved it (the pairs $@
# added), written beside the old file and renamed over it.
sync_in() {
    local copy="$dir/sync.v03"
    cp "$dictionary" "$copy"
    printf '%s\r\n' "$@" > "$dir/sync.txt"
    "$bin/wordbay-cli" update "$copy" "$dir/sync.txt" --format txt > /dev/null
    mv "$copy" "$dictionary"
}

# Runs the command $@ under a limit of 256 MB on its data (its heap and the
# dictionary's memory); prints its peak memory and returns its exit status
# (128 + the signal that ended it). With --window, it answers the message
# box that says the dictionary can't be loaded, sees the main window stay,
# and closes it.
limited() {
    /usr/bin/python3 - "$@" << 'PY'
import os, resource, subprocess, sys, time

window = sys.argv[1] == "--window"
command = sys.argv[2:] if window else sys.argv[1:]
ended = None  # (status, usage) once the process ended

def limit():
    resource.setrlimit(resource.RLIMIT_DATA, (256 << 20, 256 << 20))

def running():
    global ended
    if ended is None:
        pid, status, usage = os.wait4(program.pid, os.WNOHANG)
        if pid != 0:
            ended = (status, usage)
    return ended is None

def search(title):
    found = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid",
                            str(program.pid), "--name", title],
                           capture_output=True).stdout.split()
    return found[0].decode() if found else None

def wait(what, seconds):
    until = time.monotonic() + seconds
    while running() and time.monotonic() < until:
        result = what()
        if result:
            return result
        time.sleep(0.2)
    return None

def activate(window_id):
    subprocess.run(["timeout", "10", "xdotool", "windowactivate", "--sync", window_id],
                   capture_output=True)

def give_up(message):
    print(message)
    if running():
        program.kill()
    sys.exit(1)

def answer(title, key):
    box = wait(lambda: search(title), 60)
    if not box:
        give_up("no window '%s'" % title)
    activate(box)
    subprocess.run(["xdotool", "key", "--clearmodifiers", key])
    gone = lambda: subprocess.run(["xwininfo", "-id", box], capture_output=True,
                                  text=True).stdout.find("IsViewable") < 0
    if not wait(gone, 30):
        give_up("the window '%s' stays" % title)

program = subprocess.Popen(command, preexec_fn=limit, stdout=subprocess.DEVNULL)
if window:
    # The program says it can't load the dictionary and offers another one
    # (the offer may open over the message): the user declines the offer,
    # closes the message, and the window stays without a dictionary.
    if not wait(lambda: search("^Fatal error$"), 60):
        give_up("no window 'Fatal error'")
    declined = []

    def settled():
        if search("^Change dictionary$"):
            answer("^Change dictionary$", "Escape")
            declined.append(True)
        elif search("^Fatal error$"):
            answer("^Fatal error$", "Return")
        elif declined:
            return search("^KX Dictionary : Dictionary not loaded$")
        return None

    main = wait(settled, 90)
    if not main:
        give_up("the main window did not stay")
    activate(main)
    subprocess.run(["xdotool", "key", "--clearmodifiers", "alt+F4"])
    wait(lambda: False, 30)
    if running():
        give_up("the program did not end")
else:
    wait(lambda: False, 60)
    if running():
        give_up("%s did not end" % command[0])
status, usage = ended
print("%s: peak memory %d MB" % (os.path.basename(command[0]), usage.ru_maxrss // 1024))
if usage.ru_maxrss >= 256 * 1024:
    sys.exit(100)
sys.exit(os.WEXITSTATUS(status) if os.WIFEXITED(status) else 128 + os.WTERMSIG(status))
PY
}

case "$mode" in
tool | copy | sync)
    start main
    main_program=$program
    main_window=$window
    focus "$main_window"
    keys F2
    add_pair "$main_window" "$main_program" apple jabuka
    case "$mode" in
    tool)
        printf 'river\trijeka\r\n' > "$dir/more.txt"
        "$bin/wordbay-cli" update "$dictionary" "$dir/more.txt" --format txt > /dev/null
        ;;
    copy)
        start second
        focus "$window"
        keys F2
        add_pair "$window" "$program" river rijeka
        focus "$window"
        keys alt+d s
        answer "$program" '^Info$' Return
        holds river rijeka || fail "the second copy did not save"
        ;;
    sync)
        sync_in "$(printf 'river\trijeka')"
        ;;
    esac
    close_saving "$main_window" "$main_program"
    holds apple jabuka || fail "the program's edit is not in the file"
    holds river rijeka || fail "the other writer's pair is not in the file"
    holds house dom || fail "house - dom went"
    ;;
conflict)
    start main
    focus "$window"
    keys F2
    add_pair "$window" "$program" house kucica
    # Another machine took house - dom away, and added river - rijeka.
    printf 'house\tkuca\r\ntree\tdrvo\r\nriver\trijeka\r\n' > "$dir/pairs.txt"
    "$bin/wordbay-cli" import --format txt "$dir/pairs.txt" "$dir/sync.v03" \
        --locales 1033,1050 --names English,Croatian > /dev/null
    mv "$dir/sync.v03" "$dictionary"
    focus "$window"
    keys alt+d s
    answer "$program" '^File changed by another program$' Escape
    holds river rijeka || fail "Cancel did not keep the other program's file"
    ! holds house kucica || fail "Cancel saved"
    # No: Tab from Yes, the default button.
    close_saving "$window" "$program" Tab space
    holds house kucica || fail "overwriting lost the program's edit"
    holds house dom || fail "overwriting did not write the program's dictionary"
    ! holds river rijeka || fail "overwriting kept the other program's pair"
    ;;
reload)
    start main
    focus "$window"
    keys Escape
    typed tr
    wait_for 30 shows "$window" tr tree || fail "the typed word is not listed"
    # What one look at the window takes, which the time below includes.
    looked=$(date +%s%N)
    shows "$window" tr tree || fail "the typed word is no longer listed"
    echo "one look at the window: $((($(date +%s%N) - looked) / 1000000)) ms"
    printf 'trout\tpastrva\r\n' > "$dir/more.txt"
    "$bin/wordbay-cli" update "$dictionary" "$dir/more.txt" --format txt > /dev/null
    updated=$(date +%s%N)
    wait_for 20 shows "$window" tr trout || fail "the new word is not listed"
    echo "listed $(((($(date +%s%N) - updated) / 1000000))) ms after the update"
    cat "$dir/shown.txt"
    grep -qx tree "$dir/shown.txt" || fail "the old word went"
    ;;
inflated)
    /usr/bin/python3 - "$dictionary" << 'PY'
import struct, sys, zlib
words = 50_000_000
texts = zlib.compress(b"a\0" * words, 9)
header = bytearray(440)
header[0:20] = b"TQ_DICTIONARY_V03_00"
struct.pack_into("<II", header, 416, 2 * words, words)
tables = bytes(2048)
trailer = bytearray(128)
struct.pack_into("<I", trailer, 0, 440)
struct.pack_into("<I", trailer, 24, len(texts))
struct.pack_into("<I", trailer, 48, 2 * words)
table_at = 440 + len(texts)
for side in range(2):
    for kind in range(4):
        struct.pack_into("<I", trailer, 72 + 16 * side + 4 * kind, table_at + 256 * (2 * kind + side))
total = table_at + 2048 + 132
struct.pack_into("<I", trailer, 104, total)
trailer[108:128] = b"TQ_DICTIONARY_V03_00"
body = bytes(header) + texts + tables + bytes(trailer)
open(sys.argv[1], "wb").write(body + struct.pack("<I", zlib.crc32(body)))
PY
    [ "$(stat -c %s "$dictionary")" -lt 204800 ] || fail "the crafted file is too large"
    status=0
    limited "$bin/wordbay-cli" translate "$dictionary" house 2> "$dir/tool.txt" || status=$?
    cat "$dir/tool.txt"
    [ "$status" = 1 ] || fail "wordbay-cli ended with $status, not 1 (a failure it reports)"
    # Refused for what the file is, not for the memory it would take.
    grep -q "Damaged database" "$dir/tool.txt" || fail "wordbay-cli did not find the file damaged"
    XDG_CACHE_HOME="$dir/cache" WORDBAY_INSTANCE="wordbay-edit-safety-inflated-$$" \
        limited --window "$dir/wordbay" || fail "the program took too much memory or failed"
    ;;
*)
    fail "unknown mode"
    ;;
esac
echo "edit safety $mode: passed"
