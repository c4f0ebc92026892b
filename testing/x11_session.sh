#!/bin/bash
# x11_session.sh CMD [ARGS...]: runs CMD on a private X server (Xvfb,
# 1280x1024), as xvfb-run does, kept apart from whatever else runs on the
# machine: the server takes a free display number itself (-displayfd) and
# admits only holders of its own cookie; CMD gets its own HOME and
# XDG_RUNTIME_DIR, a private D-Bus session bus, and none of the caller's
# desktop variables (WAYLAND_DISPLAY, SWAYSOCK, QT_QPA_PLATFORM). Exits with
# CMD's status. Everything started here ends with CMD, also when this script
# is killed: the server and the bus die with it, CMD is sent SIGTERM.
set -euo pipefail
base=$(mktemp -d /tmp/wordbay-x11.XXXXXX)
server=
bus=
child=
block=
cleanup() {
    set +e
    [ -n "$child" ] && kill "$child" 2> /dev/null && wait "$child" 2> /dev/null
    [ -n "$bus" ] && kill "$bus" 2> /dev/null
    [ -n "$server" ] && kill "$server" 2> /dev/null && wait "$server" 2> /dev/null
    [ -n "$block" ] && rm -f "$block"
    rm -rf "$base"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# seconds_since START: whole seconds since START ($EPOCHREALTIME).
seconds_since() { echo $((${EPOCHREALTIME%.*} - ${1%.*})); }

# The server reads its cookie at start, whatever display the entry names;
# clients look it up under the display it takes.
cookie=$(mcookie)
export XAUTHORITY=$base/Xauthority
xauth -q -f "$XAUTHORITY" add :0 . "$cookie" 2> /dev/null
setpriv --pdeathsig KILL Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    -auth "$XAUTHORITY" 3> "$base/display" > "$base/xvfb.log" 2>&1 &
server=$!
# The number is written once the server accepts clients.
start=$EPOCHREALTIME
until [ -s "$base/display" ]; do
    if ! kill -0 "$server" 2> /dev/null || [ "$(seconds_since "$start")" -ge 120 ]; then
        echo "x11_session: Xvfb did not start" >&2
        tail -20 "$base/xvfb.log" >&2
        exit 1
    fi
    sleep 0.05
done
export DISPLAY=:$(cat "$base/display")
xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"
# The hot key's shared block of this user and display: a program killed on
# an earlier server of this number leaves its block behind, which would
# pass for this run's.
block=/dev/shm/dllmemfilemap.$(id -u).$DISPLAY
rm -f "$block"

mkdir -m 0700 "$base/run" "$base/home"
setpriv --pdeathsig KILL dbus-daemon --session --nofork --print-address=3 \
    3> "$base/bus" > /dev/null 2>&1 &
bus=$!
start=$EPOCHREALTIME
until [ -s "$base/bus" ]; do
    if ! kill -0 "$bus" 2> /dev/null || [ "$(seconds_since "$start")" -ge 60 ]; then
        echo "x11_session: no session bus" >&2
        exit 1
    fi
    sleep 0.05
done
unset WAYLAND_DISPLAY SWAYSOCK QT_QPA_PLATFORM DBUS_SYSTEM_BUS_ADDRESS XDG_SESSION_TYPE
export HOME=$base/home XDG_RUNTIME_DIR=$base/run DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$base/bus")

# In the background, so that a signal to this script ends it at once.
setpriv --pdeathsig TERM "$@" &
child=$!
status=0
wait "$child" || status=$?
child=
exit $status
