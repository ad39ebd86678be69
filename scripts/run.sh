#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds QUILO and starts it. With no processor
# attached it runs on the emulated processor; any arguments are passed on.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh plain
if [ $# -eq 0 ]; then
    exec build/src/cli/quiloctl --help
fi
exec build/src/cli/quiloctl "$@"
