#!/usr/bin/env bash
# quilod --emulate --web=127.0.0.1:PORT on a private session bus (run under
# dbus-run-session), driven by quiloctl web: a code, a phone paired with it over
# HTTP, listed, revoked; off and on again.
#   web_on_bus.sh QUILOD QUILOCTL
set -uo pipefail
quilod=$1
quiloctl=$2
work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"
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
# One HTTP request to 127.0.0.1:$port; prints the status line's code and the body.
http() {
    local method=$1 path=$2 body=${3:-}
    exec 3<>"/dev/tcp/127.0.0.1/$port" || return 1
    printf '%s %s HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nConnection: close\r\nContent-Type: application/json\r\nContent-Length: %s\r\n\r\n%s' \
        "$method" "$path" "$port" "${#body}" "$body" >&3
    local answer
    # The server keeps the connection open: the answer is all there within a second.
    answer="$(timeout 1 cat <&3)"
    exec 3<&-
    printf '%s\n' "$answer" | head -1 | cut -d' ' -f2
    printf '%s\n' "${answer##*$'\r\n\r\n'}"
}
# Below the kernel's range of ports for outgoing connections (32768 on), so that no
# connection of this test's own takes the port the server is to listen on next.
port=$(( (RANDOM % 12000) + 20000 ))
# Where `web on` listens: the settings' address and port, loopback here as well.
mkdir -p "$XDG_CONFIG_HOME/quilo"
printf '{"enabled":false,"address":"127.0.0.1","port":%s}\n' $((port + 1)) >"$XDG_CONFIG_HOME/quilo/web.json"
"$quilod" --emulate="$work/state.emu" --web=127.0.0.1:$port 2>"$work/quilod.err" &
pid=$!
for _ in $(seq 200); do
    "$quiloctl" web list >/dev/null 2>&1 && break
    sleep 0.05
done

[ -z "$("$quiloctl" web list)" ] || fail "phones listed before any pairing"
code="$("$quiloctl" web pair)"
[[ $code =~ ^[0-9]{6}$ ]] || fail "web pair printed '$code'"
answer="$(http POST /api/pair "{\"code\":\"$code\",\"name\":\"Sofa phone\"}")"
[ "$(head -1 <<<"$answer")" = 200 ] || fail "pairing with the printed code: $answer"
"$quiloctl" web list | grep -q $'^Sofa phone\t' || fail "the paired phone is not listed"
"$quiloctl" web revoke "Sofa phone" || fail "web revoke"
[ -z "$("$quiloctl" web list)" ] || fail "a revoked phone is still listed"
"$quiloctl" web revoke "Sofa phone" 2>/dev/null
[ $? -eq 2 ] || fail "revoking an unknown phone is not a usage error"
"$quiloctl" web bogus 2>/dev/null
[ $? -eq 2 ] || fail "web bogus is not a usage error"

"$quiloctl" web off || fail "web off"
[ "$(http GET / | head -1)" = 200 ] && fail "still served after web off"
"$quiloctl" web pair 2>/dev/null && fail "a code while off"
# On again where the settings say.
url="$("$quiloctl" web on)" || fail "web on"
[ "$url" = "http://127.0.0.1:$((port + 1))/" ] || fail "web on printed '$url'"
port=$((port + 1))
[ "$(http GET / | head -1)" = 200 ] || fail "not served after web on"
"$quiloctl" web off
grep -Eq '[0-9a-f]{64}|'"$code" "$work/quilod.err" && fail "quilod logged a token or code"

kill "$pid"
wait "$pid"
pid=""
exit $status
