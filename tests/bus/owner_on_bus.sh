#!/usr/bin/env bash
# quilod --emulate=FILE on a private session bus (run under dbus-run-session),
# driven by quiloctl and gdbus: changes through the owner, a second opener, the
# owner killed and its lock taken over, SIGTERM saving the state, and the installed
# interface files against what the owner serves.
#   owner_on_bus.sh QUILOD QUILOCTL [QUILO]
set -uo pipefail
quilod=$1
quiloctl=$2
quilo=${3:-}
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
    "${@:-$quilod}" --emulate="$state" 2>"$work/quilod.err" &
    pid=$!
    for _ in $(seq 200); do
        # Connected and read back: the image answers (not busy) with the model.
        [ "$(busCall org.quilo.Processor1.GetField modelName)" = "('MIVRAX',)" ] && return 0
        sleep 0.05
    done
    fail "${1:-quilod} did not come up: $(cat "$work/quilod.err")"
    exit 1
}

startOwner "$quilod" --trace "$work/quilod.trace"
[ "$(busCall org.freedesktop.DBus.Properties.Get org.quilo.Processor1 Owner)" = "(<'quilod'>,)" ] ||
    fail "Owner is not quilod"

# The interface files we install describe exactly what the owner serves.
here="$(cd "$(dirname "$0")" && pwd)"
signatures() { awk -f "$here/interface_signatures.awk" | sort; }
diff <(cat "$here"/../../resources/linux/dbus/*.xml | signatures) \
    <(gdbus introspect --session -d org.quilo.Quilo -o /org/quilo/Quilo --xml | signatures) \
    >"$work/interfaces.diff" ||
    fail "the interface files differ from quilod's (< files, > served): $(cat "$work/interfaces.diff")"

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
# The daemon's trace holds both ways, the scripts' settings among them.
grep -q ' in 02 80 ' "$work/quilod.trace" || fail "quilod --trace: no reply recorded"
grep -q ' out 02 09 ' "$work/quilod.trace" || fail "quilod --trace: no setting recorded"

# A bad name or value is refused and changes nothing.
refused="$(busCall org.quilo.Processor1.SetField noSuchField 1)"
[[ $refused == *org.quilo.Error.InvalidArgs* ]] || fail "unknown field not refused: $refused"
ctl set micVolume loud 2>/dev/null
[ $? -eq 2 ] || fail "set with a bad value is not a usage error"
[ "$(ctl get micVolume)" = 41 ] || fail "a refused set changed the field"

# A read-back through the owner writes the file the owner's image holds; a file
# that does not read is refused and changes nothing.
ctl pull "$work/owner.quilo" || fail "pull through the owner"
pulled="$("$quiloctl" modefile dump "$work/owner.quilo")"
grep -qx 'micVolume=41' <<<"$pulled" || fail "the pulled file lacks micVolume=41"
echo "not a mode file" >"$work/bad.quilo"
ctl push "$work/bad.quilo" 2>/dev/null && fail "a bad file was pushed"
[ "$(ctl get micVolume)" = 41 ] || fail "a refused push changed the image"
ctl push "$work/owner.quilo" || fail "push through the owner"

# A stored mode through the owner: stored, changed, recalled and read back (a
# mode keeps the effects, not the master volumes).
ctl set echoLevelA 41
ctl mode store 2 || fail "mode store through the owner"
ctl set echoLevelA 45
ctl mode recall 2 || fail "mode recall through the owner"
[ "$(ctl get echoLevelA)" = 41 ] || fail "the recalled mode did not come back: $(ctl get echoLevelA)"
[ "$(busCall org.freedesktop.DBus.Properties.Get org.quilo.Processor1 CurrentMode)" = "(<2>,)" ] ||
    fail "CurrentMode is not 2"

# Smart home through the owner: a scene runs to its end; a Basic Set to a plug
# that is not there fails as it does directly.
ctl scene run 1 || fail "scene run through the owner"
plugOut="$(ctl plug 9 99 2>&1)"
[ $? -eq 1 ] && [ "$plugOut" = "quiloctl: plug 9 did not acknowledge the command" ] ||
    fail "plug through the owner: $plugOut"
# A plug added through the owner joins with its record; a type not known is refused.
added="$(ctl plugs add dimmer "Hall")" || fail "plugs add through the owner"
grep -qxF "$added 2 Hall" <<<"$(ctl plugs)" || fail "plug $added is not listed as Hall"
ctl plugs add lamp 2>/dev/null
[ $? -eq 2 ] || fail "plugs add with an unknown type is not a usage error"

# diff against the processor and a filter text through the owner.
ctl pull "$work/now.quilo" || fail "pull through the owner"
ctl diff "$work/now.quilo" >/dev/null || fail "diff through the owner found differences"
printf 'Filter  1: ON  PK  Fc 63 Hz  Gain -6.0 dB  Q 4.00\r\n' >"$work/eq.txt"
ctl eq apply 7 "$work/eq.txt" || fail "eq apply through the owner"
ctl diff "$work/now.quilo" >/dev/null
[ $? -eq 1 ] || fail "diff through the owner missed the applied filter"
ctl pull "$work/after.quilo" && "$quiloctl" eq export "$work/after.quilo" 7 | head -1 |
    grep -q "Fc 63 Hz Gain -6.0 dB" || fail "the applied filter is not in the owner's image"

# The remote through the owner: a key learned, the table into a file and back.
learned="$(ctl remote learn 3 --timeout 10)" || fail "remote learn through the owner"
[[ $learned =~ ^[0-9A-F]{2}$ ]] || fail "remote learn printed '$learned'"
ctl remote pull "$work/keys.remo" || fail "remote pull through the owner"
[ "$(od -An -tx1 -j3 -N1 "$work/keys.remo" | tr -d ' ' | tr a-f A-F)" = "$learned" ] ||
    fail "the pulled table lacks the learned key"
ctl remote push "$work/keys.remo" || fail "remote push through the owner"
ctl remote push "$work/missing.remo" 2>/dev/null && fail "a missing remote file was pushed"

# info through the owner prints what the processor itself says.
[ "$(ctl info)" = "$("$quiloctl" --emulate info)" ] || fail "info through the owner differs"
owners="$("$quiloctl" owner)"
grep -qxF "emulator:$state quilod $pid" <<<"$owners" || fail "owner: $owners"

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

# The desktop program owns the processor the same way: a script's change is in
# its image at once, and in the emulated processor's state when it closes.
if [ -n "$quilo" ]; then
    export HOME="$work/home" QT_QPA_PLATFORM=offscreen
    mkdir -p "$HOME"
    startOwner "$quilo"
    [ "$(busCall org.freedesktop.DBus.Properties.Get org.quilo.Processor1 Owner)" = "(<'quilo'>,)" ] ||
        fail "Owner is not quilo"
    ctl set micVolume 33 || fail "set through the program"
    [ "$(busCall org.quilo.Processor1.GetField micVolume)" = "('33',)" ] ||
        fail "the program's image does not hold the script's value"
    second="$("$quilod" --emulate="$state" 2>&1)"
    [ "$second" = "quilod: the processor is in use by quilo (pid $pid)" ] || fail "second: $second"
    kill -TERM "$pid"
    wait "$pid" || fail "the program did not exit cleanly on SIGTERM"
    pid=""
    [ "$(ctl get micVolume)" = 33 ] || fail "the processor does not hold the script's value"
fi

exit "$status"
