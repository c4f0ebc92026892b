#!/usr/bin/env bash
# Takes the documentation's pictures of every window from the built program
# on a private X server with a window manager (openbox): the main window, the
# popup and the tooltip after the hot key, the text window, the settings
# dialog and the interface-language dialog. Writes docs/*.png. The pictures
# of dialogs come from the test build (wordbay-test), which opens them itself.
#
# usage: scripts/screenshots.sh [BUILD_BIN_DIR]   (default: build/bin)
# needs: xvfb-run, openbox, xdotool, xclip, imagemagick (import, convert)
#
# WORDBAY_SHOTS_OUT=DIR writes the pictures there instead. With
# WORDBAY_SHOTS_DARK=1 a fake settings portal on a private session bus tells
# the program that the desktop prefers dark windows (needs dbus and
# python3-dbusmock); QT_SCALE_FACTOR=2 takes them at 200 % (with
# WORDBAY_SHOTS_SCREEN=2048x1400, the screen's size).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="${1:-$root/build/bin}"

out="${WORDBAY_SHOTS_OUT:-$root/docs}"
mkdir -p "$out"
if [ -n "${WORDBAY_SHOTS_DARK:-}" ] && [ -z "${WORDBAY_SHOTS_BUS:-}" ]; then
    WORDBAY_SHOTS_BUS=1 exec dbus-run-session -- bash "$0" "$bin"
fi
if [ -n "${WORDBAY_SHOTS_BUS:-}" ] && [ -z "${WORDBAY_SHOTS_INNER:-}" ]; then
    /usr/bin/python3 -m dbusmock --template "$root/ui/tests/wayland/fake_settings_portal.py" \
        --parameters '{"scheme": 1}' > /dev/null 2>&1 &
    gdbus wait --session --timeout 20 org.freedesktop.portal.Desktop
fi
if [ -z "${WORDBAY_SHOTS_INNER:-}" ]; then
    WORDBAY_SHOTS_INNER=1 exec xvfb-run -a -s "-screen 0 ${WORDBAY_SHOTS_SCREEN:-1024x700}x24" \
        bash "$0" "$bin"
fi

dir="$(mktemp -d)"
trap 'kill $(jobs -p) 2> /dev/null || true; wait 2> /dev/null || true; rm -rf "$dir"' EXIT
export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$dir/program/database"
chmod 700 "$XDG_RUNTIME_DIR"
export WORDBAY_INSTANCE="wordbay-screenshots-$$"

# The English-Croatian dictionary of the first start: FreeDict's when it is
# installed, else the sample word list. The first start converts it.
cp "$bin/wordbay" "$bin/wordbay-test" "$dir/program/"
bash "$root/scripts/first_start.sh" "$dir/program" "$bin/wordbay-cli" \
    "$root/data/kx-sample.txt" > /dev/null
printf '[options]\nshowsplash=0\n' >> "$dir/program/wordbay.ini"
QT_QPA_PLATFORM=offscreen timeout 300 "$dir/program/wordbay-test" \
    --report-translation house "$dir/first.txt" > /dev/null
dictionary="$(basename "$(ls "$dir"/program/database/*.v03 | head -n 1)")"

# A translation beside internal English in the language dialog.
mkdir -p "$dir/program/language"
cat > "$dir/program/language/Hrvatski.txt" << 'LNG'
LNG_ID_VER = "KX_5"
LANGUAGE = "Hrvatski"
AUTHOR = "wordbay"
DESCRIPTION = "Hrvatsko sučelje (primjer)"
VERSION = "1.0"
MENU_EXIT = "&Izlaz"
LNG

openbox --sm-disable > /dev/null 2>&1 &
sleep 1

# A settings file for one picture; $1: the hot-key target (0 main window,
# 1 popup, 2 tooltip).
settings() {
    cat > "$dir/program/wordbay.ini" << INI
[dictionary]
current=$dictionary
[options]
showsplash=0
autotranslate=1
[hotkey]
usehotkeys=1
hotkeyactivate=$1
[size]
x=40
y=30
cx=760
cy=460
[sizep]
x=520
y=220
cx=260
cy=300
INI
}

# The window whose title matches $1, waiting for it to map.
window() {
    for _ in $(seq 1 150); do
        local id
        id="$(xdotool search --onlyvisible --name "$1" 2> /dev/null | tail -n 1 || true)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    echo "no window '$1'" >&2
    return 1
}

# Saves window $1 with its frame as docs/$2.png, with a small palette.
shoot() {
    import -frame -window "$1" "$dir/shot.png"
    convert "$dir/shot.png" -colors 128 "PNG8:$out/$2.png"
    echo "$out/$2.png"
}

stop() {
    kill "$1" 2> /dev/null || true
    wait "$1" 2> /dev/null || true
}

# The main window with a look-up.
settings 0
"$dir/program/wordbay" &
program=$!
main="$(window '^KX Dictionary')"
sleep 4
xdotool windowactivate --sync "$main" > /dev/null 2>&1 || true
xdotool type --delay 60 house
sleep 2
shoot "$main" main-window
stop "$program"

# The popup and the tooltip: a word selected in another program, the hot key.
for target in 1 2; do
    settings "$target"
    "$dir/program/wordbay" &
    program=$!
    main="$(window '^KX Dictionary')"
    sleep 4
    printf 'house' | xclip -selection primary -i
    sleep 0.5
    xdotool keydown ctrl keydown shift
    sleep 0.2
    xdotool keyup shift keyup ctrl
    sleep 3
    # The one visible window of the program that is not the main window.
    id="$(xdotool search --onlyvisible --class wordbay | while read -r w; do
        case "$(xdotool getwindowname "$w")" in "KX Dictionary"*) ;; *) echo "$w" ;; esac
    done | tail -n 1)"
    if [ "$target" = 1 ]; then shoot "$id" popup; else shoot "$id" tooltip; fi
    stop "$program"
done

# The text window (463), the settings dialog (327), the language dialog (1012).
for shot in "463 text-window" "327 settings" "1012 language-dialog"; do
    read -r command name <<< "$shot"
    settings 0
    "$dir/program/wordbay-test" --command "$command" --type house &
    program=$!
    window '^KX Dictionary' > /dev/null
    sleep 6
    case "$name" in
        text-window)
            id="$(window '^Text translation')"
            xdotool windowactivate --sync "$id" > /dev/null 2>&1 || true
            xdotool type --delay 40 "my house is your house"
            xdotool key F12
            sleep 3
            ;;
        settings) id="$(window '^Dictionary settings')" ;;
        language-dialog) id="$(window '^Change interface language')" ;;
    esac
    shoot "$id" "$name"
    stop "$program"
done
