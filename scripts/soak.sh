#!/usr/bin/env bash
# Soak: the desktop program on the emulated processor under random user actions
# (ribbon sliders and drags, mutes, every page and tool window, stored modes,
# presets, mode files saved and loaded, the language, unplugging and plugging in
# again) for MINUTES minutes, then a read-back that must give the image the user
# left. Reports crashes, the longest event-loop stall and the growth of resident
# memory; exits non-zero on a crash, a hang, a stall past STALL_LIMIT_MS (default
# 250), a lost setting or a status bar that disagreed with the link.
#   scripts/soak.sh MINUTES [BUILD_DIR]
# SEED=N repeats a run's choices; SKIP=NAME,... leaves actions out (names as the
# report lists them), to find what a stall or growth comes from.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes="${1:?usage: scripts/soak.sh MINUTES [BUILD_DIR]}"
build="${2:-build}"
seconds=$((minutes * 60))
[ -d "$build" ] || scripts/build.sh plain
cmake --build "$build" --target quilo_soak >/dev/null

seed="${SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}"
echo "== soak for $minutes min (seed $seed)"
status=0
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
    timeout --signal=ABRT $((seconds + 300)) \
    "$build/tests/soak/quilo_soak" --seconds "$seconds" --seed "$seed" \
    --stall-limit-ms "${STALL_LIMIT_MS:-250}" ${SKIP:+--skip "$SKIP"} || status=$?
case "$status" in
    0) echo "soak: passed" ;;
    1) echo "soak: FAILED (a stall, a lost setting or a wrong status bar, see above)" ;;
    124) echo "soak: FAILED (hung: no end within $((seconds + 300)) s)" ;;
    *) echo "soak: FAILED (crashed, status $status)" ;;
esac
exit "$status"
