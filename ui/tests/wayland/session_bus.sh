#!/bin/bash
# session_bus.sh [--portal] CMD [ARGS...]: runs CMD with a private D-Bus
# session bus (DBUS_SESSION_BUS_ADDRESS), with --portal also a fake desktop
# portal offering GlobalShortcuts (fake_shortcuts_portal.py). Fire the
# shortcut from CMD with:
#   gdbus call --session -d org.freedesktop.portal.Desktop \
#       -o /org/freedesktop/portal/desktop \
#       -m org.freedesktop.DBus.Mock.Trigger translate-selection
set -eu
here=$(cd "$(dirname "$0")" && pwd)
portal=0
if [ "${1:-}" = --portal ]; then portal=1; shift; fi
d=$(mktemp -d /tmp/wordbay-bus.XXXXXX)
dbus-daemon --session --fork --print-address=3 --print-pid=4 3> "$d/address" 4> "$d/pid"
export DBUS_SESSION_BUS_ADDRESS=$(cat "$d/address")
mock=
cleanup() {
    [ -n "$mock" ] && kill "$mock" 2> /dev/null && wait "$mock" 2> /dev/null
    kill "$(cat "$d/pid")" 2> /dev/null
    rm -rf "$d"
}
trap cleanup EXIT
if [ $portal = 1 ]; then
    /usr/bin/python3 -m dbusmock --template "$here/fake_shortcuts_portal.py" > "$d/portal.log" 2>&1 &
    mock=$!
    timeout 15 gdbus wait --session --timeout 15 org.freedesktop.portal.Desktop
fi
set +e
"$@"
