#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds QUILO and starts the desktop program on
# the emulated processor, on the current display. Arguments are passed on to quilo
# (for example --emulate=FILE to keep the emulated processor's state in FILE).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh plain
if [ -z "${DISPLAY:-}" ]; then
    echo "run.sh: no X display (DISPLAY is not set); start it from a desktop session" >&2
    exit 1
fi
if [ $# -eq 0 ]; then
    exec build/src/app/quilo --emulate
fi
exec build/src/app/quilo "$@"
