#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds QUILO and runs every test through CTest:
# first the normal build, then a 2-minute soak of the program under random user actions
# (scripts/soak.sh), then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the threaded tests (link, writer, synchronisation, emulator, bridge
# and the GUI tests on the emulated processor) under ThreadSanitizer, then checks the installed
# files and the Debian package of the normal build.
# The builds carry only the debug information that stack traces need, and the sanitizer build
# is removed once its tests have passed, so that the run fits on a machine with little disk.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Qt is not built with ThreadSanitizer: what its own code does is not looked at, and the
# program's hand-overs to the user-interface thread carry their own annotations.
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1

echo "== normal build"
scripts/build.sh plain -DQUILO_DEBUG_INFO=lines
(cd build && ctest --output-on-failure -j "$(nproc)")

echo "== soak of the normal build (2 minutes)"
# Alone on the machine, with the default bound of 250 ms: the settings file is written off
# the user-interface thread.
scripts/soak.sh 2 build

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
scripts/build.sh asan -DQUILO_DEBUG_INFO=lines
(cd build-asan && ctest --output-on-failure -j "$(nproc)")
rm -rf build-asan

echo "== ThreadSanitizer build (threaded tests)"
scripts/build.sh tsan -DQUILO_DEBUG_INFO=lines
(cd build-tsan && ctest --output-on-failure -j "$(nproc)" -L threads)

echo "== install and package checks"
scripts/check-install.sh build
