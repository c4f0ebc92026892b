#!/bin/bash
# session_bus.sh [--portal] CMD [ARGS...]: runs CMD with a private D-Bus
# session bus (DBUS_SESSION_BUS_ADDRESS), with --portal also a fake desktop
# portal offering GlobalShortcuts (fake_shortcuts_portal.py). Fire the
# shortcut from CMD with:
#   gdbus call --session -d org.freedesktop.portal.Desktop \
#       -o /org/freedesktop/portal/desktop \
#       -m org.freedesktop.DBus.Mock.Trigger translate-selection
# Exits with CMD's status. The bus and the portal end with CMD, also when
# this script is killed; CMD is then sent SIGTERM.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
portal=0
if [ "${1:-}" = --portal ]; then portal=1; shift; fi
d=$(mktemp -d /tmp/wordbay-bus.XXXXXX)
bus=
mock=
child=
cleanup() {
    set +e
    [ -n "$child" ] && kill "$child" 2> /dev/null && wait "$child" 2> /dev/null
    [ -n "$mock" ] && kill "$mock" 2> /dev/null && wait "$mock" 2> /dev/null
    [ -n "$bus" ] && kill "$bus" 2> /dev/null && wait "$bus" 2> /dev/null
    rm -rf "$d"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# A bus of its own: the daemon writes the address once it accepts clients.
setpriv --pdeathsig KILL dbus-daemon --session --nofork --print-address=3 \
    3> "$d/address" > /dev/null 2>&1 &
bus=$!
start=${EPOCHREALTIME%.*}
until [ -s "$d/address" ]; do
    if ! kill -0 "$bus" 2> /dev/null || [ $((${EPOCHREALTIME%.*} - start)) -ge 60 ]; then
        echo "session_bus: the bus did not start" >&2
        exit 1
    fi
    sleep 0.05
done
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$d/address")

if [ $portal = 1 ]; then
    setpriv --pdeathsig KILL /usr/bin/python3 -m dbusmock \
        --template "$here/fake_shortcuts_portal.py" > "$d/portal.log" 2>&1 &
    mock=$!
    if ! timeout 120 gdbus wait --session --timeout 120 org.freedesktop.portal.Desktop; then
        echo "session_bus: the fake portal did not start" >&2
        cat "$d/portal.log" >&2
        exit 1
    fi
fi

# In the background, so that a signal to this script ends it at once.
setpriv --pdeathsig TERM "$@" &
child=$!
status=0
wait "$child" || status=$?
child=
exit $status
