#!/usr/bin/env bash
# quilod --emulate=FILE on a private session bus (run under dbus-run-session),
# driven by quiloctl and gdbus: changes through the owner, a second opener, the
# owner killed and its lock taken over, SIGTERM saving the state.
#   owner_on_bus.sh QUILOD QUILOCTL
set -uo pipefail
quilod=$1
quiloctl=$2
work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
state="$work/state.emu"
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
ctl() { "$quiloctl" --emulate="$state" "$@"; }
busCall() {
    gdbus call --session -d org.quilo.Quilo -o /org/quilo/Quilo -m "$@" 2>&1
}
startOwner() {
    "$quilod" --emulate="$state" 2>"$work/quilod.err" &
    pid=$!
    for _ in $(seq 200); do
        busCall org.freedesktop.DBus.Properties.Get org.quilo.Processor1 Connected |
            grep -q true && return 0
        sleep 0.05
    done
    fail "quilod did not come up: $(cat "$work/quilod.err")"
    exit 1
}

startOwner
[ "$(busCall org.freedesktop.DBus.Properties.Get org.quilo.Processor1 Owner)" = "(<'quilod'>,)" ] ||
    fail "Owner is not quilod"

# A change through quiloctl is the owner's, and the bus reads it back as decode prints it.
ctl watch micVolume >"$work/watch" &
watcher=$!
sleep 0.3
ctl set micVolume 40 || fail "set through the owner"
[ "$(ctl get micVolume)" = 40 ] || fail "get through the owner"
[ "$(busCall org.quilo.Processor1.GetField micVolume)" = "('40',)" ] || fail "GetField"
busCall org.quilo.Processor1.SetField micVolume 41 >/dev/null || fail "SetField"
sleep 0.3
kill "$watcher"
grep -qx 'micVolume=41' "$work/watch" || fail "watch did not see micVolume=41: $(cat "$work/watch")"

# A bad name or value is refused and changes nothing.
refused="$(busCall org.quilo.Processor1.SetField noSuchField 1)"
[[ $refused == *org.quilo.Error.InvalidArgs* ]] || fail "unknown field not refused: $refused"
ctl set micVolume loud 2>/dev/null
[ $? -eq 2 ] || fail "set with a bad value is not a usage error"
[ "$(ctl get micVolume)" = 41 ] || fail "a refused set changed the field"

# info through the owner prints what the processor itself says.
[ "$(ctl info)" = "$("$quiloctl" --emulate info)" ] || fail "info through the owner differs"
"$quiloctl" owner | grep -qF "emulator:$state quilod $pid" || fail "owner: $("$quiloctl" owner)"

# A second owner of the same processor stops with one line naming the first.
second="$("$quilod" --emulate="$state" 2>&1)"
[ $? -eq 1 ] || fail "a second quilod did not stop"
[ "$second" = "quilod: the processor is in use by quilod (pid $pid)" ] || fail "second: $second"

# The owner killed: its lock is taken over by the next opener.
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=""
ctl set micVolume 42 || fail "set after the owner was killed"
[ "$(ctl get micVolume)" = 42 ] || fail "the direct set did not reach the state file"

# SIGTERM: quilod says goodbye and saves the emulated processor's state.
startOwner
ctl set micVolume 43 || fail "set through the second owner"
kill -TERM "$pid"
wait "$pid" || fail "quilod did not exit cleanly on SIGTERM"
pid=""
[ "$(ctl get micVolume)" = 43 ] || fail "SIGTERM did not save the state"

exit "$status"
