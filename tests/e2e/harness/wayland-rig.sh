#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Tavolen developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A headless Wayland desktop for the end-to-end tests: sway with XWayland,
# PipeWire and the desktop portal with its wlroots and GTK backends, all on a
# D-Bus session bus of their own (dbus-run-session).
#
#   sh wayland-rig.sh DIR
#
# DIR is the rig's own directory (XDG_RUNTIME_DIR and HOME lie inside it, set
# by the caller). Each step is written to DIR/step before it starts, so that a
# rig that does not come up says where it stopped; each program logs to
# DIR/log/. Once everything answers, the session's environment is written to
# DIR/env (renamed into place, so it is read whole). The rig then runs until
# its standard input closes or DIR/stop appears, and stops what it started.
set -u
dir=$1

if [ -z "${WAYLAND_RIG_BUS:-}" ]; then
    # No document portal: its FUSE mount in XDG_RUNTIME_DIR could outlive a
    # rig that is killed, and nothing here shares files with sandboxed apps.
    # The bus reads services from XDG_RUNTIME_DIR before the system's, once,
    # when it starts.
    mkdir -p "$XDG_RUNTIME_DIR/dbus-1/services"
    printf '[D-BUS Service]\nName=org.freedesktop.portal.Documents\nExec=/bin/false\n' \
        >"$XDG_RUNTIME_DIR/dbus-1/services/org.freedesktop.portal.Documents.service"
    WAYLAND_RIG_BUS=1 exec dbus-run-session -- sh "$0" "$dir"
fi
log=$dir/log
mkdir -p "$log"

step() { printf '%s\n' "$*" >"$dir/step"; }
fail() {
    printf '%s\n' "$*" >"$dir/failed"
    exit 1
}
# Polls a condition for up to $1 tenths of a second.
wait_for() {
    tries=$1
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}
has_name() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner "$1" | grep -q true
}
offers_screenshot() {
    gdbus introspect --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop | grep -q 'interface org.freedesktop.portal.Screenshot '
}

stop_all() {
    # Children first, sway last: the portal backends would otherwise notice
    # the compositor going and log errors nobody reads.
    for pid in $started; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
}
started=""
trap 'stop_all' EXIT
trap 'exit 0' TERM INT HUP

# The wlroots portal backend only serves desktops it is told about; the
# Access dialog (without which the portal offers no Screenshot) comes from
# the GTK backend, which serves GNOME only.
export XDG_CURRENT_DESKTOP=sway:GNOME XDG_SESSION_TYPE=wayland
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK

step "sway: start"
command -v sway >/dev/null || fail "sway is not installed"
# The exec'd command runs once sway is up and XWayland's DISPLAY is set: it
# is how this script learns the display number.
cat >"$dir/sway.conf" <<EOF
output HEADLESS-1 resolution 1920x1080 position 0 0
default_border none
default_floating_border none
focus_follows_mouse no
xwayland force
exec env >"$dir/sway.env.new" && mv "$dir/sway.env.new" "$dir/sway.env"
EOF
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$dir/sway.conf" >"$log/sway.log" 2>&1 &
sway_pid=$!
started="$sway_pid"

step "sway: wait for its sockets and XWayland (see log/sway.log)"
wait_for 150 test -s "$dir/sway.env" || fail "sway did not start"
kill -0 "$sway_pid" 2>/dev/null || fail "sway exited"
eval "$(grep -E '^(WAYLAND_DISPLAY|SWAYSOCK|DISPLAY)=' "$dir/sway.env" | sed 's/^/export /')"
[ -n "${WAYLAND_DISPLAY:-}" ] || fail "sway set no WAYLAND_DISPLAY"
[ -n "${SWAYSOCK:-}" ] || fail "sway set no SWAYSOCK"
[ -n "${DISPLAY:-}" ] || fail "sway set no DISPLAY: XWayland is missing"

step "XWayland: accept X clients on $DISPLAY (see log/sway.log)"
wait_for 150 xprop -root _NET_SUPPORTING_WM_CHECK || fail "XWayland does not answer on $DISPLAY"

# D-Bus-activated services see these too.
dbus-update-activation-environment WAYLAND_DISPLAY SWAYSOCK DISPLAY XDG_CURRENT_DESKTOP \
    XDG_SESSION_TYPE XDG_RUNTIME_DIR HOME >"$log/activation.log" 2>&1

step "pipewire: start (see log/pipewire.log)"
pipewire >"$log/pipewire.log" 2>&1 &
started="$! $started"
wait_for 100 test -S "$XDG_RUNTIME_DIR/pipewire-0" || fail "pipewire did not start"

step "xdg-desktop-portal-wlr: start (see log/portal-wlr.log)"
/usr/libexec/xdg-desktop-portal-wlr >"$log/portal-wlr.log" 2>&1 &
started="$! $started"
wait_for 100 has_name org.freedesktop.impl.portal.desktop.wlr || fail "xdg-desktop-portal-wlr did not start"

step "xdg-desktop-portal-gtk: start (see log/portal-gtk.log)"
/usr/libexec/xdg-desktop-portal-gtk >"$log/portal-gtk.log" 2>&1 &
started="$! $started"
wait_for 100 has_name org.freedesktop.impl.portal.desktop.gtk || fail "xdg-desktop-portal-gtk did not start"

step "xdg-desktop-portal: start (see log/portal.log)"
/usr/libexec/xdg-desktop-portal >"$log/portal.log" 2>&1 &
started="$! $started"
wait_for 100 has_name org.freedesktop.portal.Desktop || fail "xdg-desktop-portal did not start"
wait_for 50 offers_screenshot || fail "the portal offers no Screenshot interface"

step "ready"
{
    for name in WAYLAND_DISPLAY SWAYSOCK DISPLAY DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR HOME \
        XDG_CURRENT_DESKTOP XDG_SESSION_TYPE; do
        eval "printf '%s=%s\n' $name \"\${$name}\""
    done
} >"$dir/env.new" && mv "$dir/env.new" "$dir/env"

# Until the caller closes our standard input or asks by file. (dash gives a
# background command /dev/null as input even with `<&0`; a copy of the
# descriptor goes through.)
exec 3<&0
cat <&3 >/dev/null &
reader=$!
while kill -0 "$reader" 2>/dev/null && [ ! -e "$dir/stop" ]; do
    for pid in $started; do
        kill -0 "$pid" 2>/dev/null || fail "a rig process ($pid) ended; see $log"
    done
    sleep 0.2
done
kill "$reader" 2>/dev/null
exit 0
