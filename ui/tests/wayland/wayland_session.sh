#!/bin/bash
# wayland_session.sh CMD [ARGS...]: runs CMD inside a throw-away headless
# Wayland desktop (sway with XWayland, software rendering), as xvfb-run does
# for X11. Works as root, without a GPU, a display or a user session.
#
# CMD sees WAYLAND_DISPLAY (an absolute path), DISPLAY (XWayland), SWAYSOCK,
# XDG_RUNTIME_DIR (its own), WL_RUN (the compositor's runtime folder),
# WL_UID (the compositor's user), WL_OUT (a folder that user may write) and
# WL_LOG (the compositor's log).
#
# sway refuses to run as root: it runs as WL_UID (default 65534, nobody),
# and root's X11 clients are admitted to XWayland. Commands that sway key
# bindings run ("bindsym ... exec") run as that user.
#
# Nothing of the caller's desktop reaches CMD: the Wayland socket sway
# creates in its own runtime folder and the X display XWayland takes are
# free by construction, and the caller's session variables are dropped (give
# CMD a bus with session_bus.sh). Exits with CMD's status. The compositor
# ends with CMD, also when this script is killed; CMD is then sent SIGTERM.
set -euo pipefail
# Starting sway as another user needs root; a test runner takes 77 as "skipped".
[ "$(id -u)" = 0 ] || { echo "wayland_session: needs root, skipped"; exit 77; }
WL_UID=${WL_UID:-65534}
base=$(mktemp -d /tmp/wordbay-wayland.XXXXXX)
chmod 755 "$base"
run=$base/run
mkdir -m 0700 "$run" && mkdir "$base/home" && mkdir -m 1777 "$base/out"
chown "$WL_UID:$WL_UID" "$run" "$base/home"
cat > "$base/sway.conf" << 'CONF'
xwayland force
output HEADLESS-1 resolution 1280x800 position 0,0 bg #336699 solid_color
# X11 windows that ask for the focus (_NET_ACTIVE_WINDOW) get it
focus_on_window_activation focus
# XWayland admits only the compositor's user: admit root too, then say ready
exec sh -c 'xhost +si:localuser:root >/dev/null && echo "$DISPLAY" >"$XDG_RUNTIME_DIR/display.tmp" && mv "$XDG_RUNTIME_DIR/display.tmp" "$XDG_RUNTIME_DIR/display"'
CONF
chmod 644 "$base/sway.conf"

sway_pid=
child=
cleanup() {
    set +e
    [ -n "$child" ] && kill "$child" 2> /dev/null && wait "$child" 2> /dev/null
    [ -n "$sway_pid" ] && kill "$sway_pid" 2> /dev/null && wait "$sway_pid" 2> /dev/null
    if [ "${WL_KEEP:-0}" = 1 ]; then echo "kept $base" >&2; else rm -rf "$base"; fi
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# sway's parent-death signal outlives the change of user (setpriv sets it last).
env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$base/home" XDG_RUNTIME_DIR="$run" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    setpriv --reuid="$WL_UID" --regid="$WL_UID" --clear-groups --pdeathsig KILL \
    sway -d -c "$base/sway.conf" > "$base/sway.log" 2>&1 &
sway_pid=$!

# Ready once XWayland admits root: on a loaded machine that may take a while.
start=${EPOCHREALTIME%.*}
until [ -s "$run/display" ]; do
    kill -0 "$sway_pid" 2> /dev/null || break
    [ $((${EPOCHREALTIME%.*} - start)) -lt 120 ] || break
    sleep 0.1
done
if [ ! -s "$run/display" ]; then
    echo "wayland_session: sway and XWayland did not come up" >&2
    tail -20 "$base/sway.log" >&2
    exit 1
fi

WAYLAND_DISPLAY=$(ls "$run"/wayland-* | grep -v '\.lock$' | head -1)
SWAYSOCK=$(ls "$run"/sway-ipc.*.sock | head -1)
DISPLAY=$(cat "$run/display")
mkdir -m 0700 "$base/rt"
unset DBUS_SESSION_BUS_ADDRESS XAUTHORITY QT_QPA_PLATFORM XDG_SESSION_TYPE
export WAYLAND_DISPLAY SWAYSOCK DISPLAY XDG_RUNTIME_DIR="$base/rt" WL_RUN="$run" \
    WL_UID WL_OUT="$base/out" WL_LOG="$base/sway.log"

# In the background, so that a signal to this script ends it at once.
setpriv --pdeathsig TERM "$@" &
child=$!
status=0
wait "$child" || status=$?
child=
exit $status
