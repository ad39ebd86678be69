#!/usr/bin/env bash
# quilod --mqtt on a private session bus (run under dbus-run-session) and a mosquitto
# broker with a password file: quiloctl mqtt status says the password was refused;
# with the right one the bridge is online, mqtt off empties the discovery configs,
# mqtt on brings them back, and killing quilod leaves its last will: offline.
#   mqtt_on_bus.sh QUILOD QUILOCTL
set -uo pipefail
quilod=$1
quiloctl=$2
work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/quilo"
state="$work/state.emu"
pid=""
broker=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    [ -n "$broker" ] && kill "$broker" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
ctl() { "$quiloctl" --emulate="$state" "$@"; }

mosquitto_passwd -b -c "$work/passwords" quilo right || exit 1
[ "$(id -u)" = 0 ] && runAs="user root" || runAs=""
for _ in $(seq 10); do
    port=$((20000 + RANDOM % 12000)) # below the ports of outgoing connections
    printf '%s\nper_listener_settings true\nlistener %s 127.0.0.1\nallow_anonymous false\npassword_file %s\n' \
        "$runAs" "$port" "$work/passwords" >"$work/mosquitto.conf"
    /usr/sbin/mosquitto -c "$work/mosquitto.conf" 2>"$work/broker.err" &
    broker=$!
    sleep 0.3
    kill -0 "$broker" 2>/dev/null && break
    broker=""
done
[ -n "$broker" ] || { echo "FAIL: no broker: $(cat "$work/broker.err")" >&2; exit 1; }
sub() { mosquitto_sub -h 127.0.0.1 -p "$port" -u quilo -P right "$@"; }

settings() {
    printf '{"user":"quilo","password":"%s","deviceId":"bus_test","shortId":"abc123"}' "$1" \
        >"$XDG_CONFIG_HOME/quilo/mqtt.json"
}
startOwner() {
    "$quilod" --emulate="$state" --mqtt="mqtt://127.0.0.1:$port" 2>>"$work/quilod.err" &
    pid=$!
}
waitStatus() {
    for _ in $(seq 100); do
        ctl mqtt status 2>/dev/null | grep -q "^state: $1\$" && return 0
        sleep 0.1
    done
    fail "never '$1': $(ctl mqtt status 2>&1)"
}

settings wrong
startOwner
waitStatus refused
ctl mqtt status | grep -qx "problem: the broker refused the user name or password" ||
    fail "status does not say the password was refused: $(ctl mqtt status)"
kill -TERM "$pid"
wait "$pid"
pid=""

settings right
startOwner
waitStatus connected
[ "$(sub -C 1 -W 3 -t quilo/bus_test/availability)" = online ] || fail "not online"
configs() { sub -W 1 --retained-only -t 'homeassistant/#' -F '%l' 2>/dev/null | grep -vcx 0; }
# Published once the owner has read the processor back.
waitConfigs() {
    for _ in $(seq 10); do
        [ "$(configs)" -ge 18 ] && return 0
    done
    fail "too few discovery configs $1: $(configs)"
}
waitConfigs "after the start"
ctl mqtt off || fail "mqtt off"
ctl mqtt status | grep -qx "state: off" || fail "off: $(ctl mqtt status)"
[ "$(configs)" = 0 ] || fail "configs left after off: $(configs)"
[ "$(sub -C 1 -W 3 -t quilo/bus_test/availability)" = offline ] || fail "off is not offline"
ctl mqtt on || fail "mqtt on"
waitStatus connected
waitConfigs "after mqtt on"
ctl mqtt sideways 2>/dev/null
[ $? -eq 2 ] || fail "a bad mqtt argument is not a usage error"

# Killed: the broker tells everyone what the bridge left as its will.
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=""
[ "$(sub -C 1 -W 3 -t quilo/bus_test/availability)" = offline ] || fail "no last will after SIGKILL"
ctl mqtt status >/dev/null 2>&1 && fail "mqtt status without an owner succeeded"
exit $status
