#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs one of them.
#   scripts/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
#   scripts/fuzz.sh list
# TARGET is a file name of tests/fuzz without .cpp (mode_file, inbound, ...).
# The run starts from the committed corpus tests/fuzz/corpus/TARGET and grows a
# working copy in build-fuzz/corpus/TARGET; crashing inputs land in
# build-fuzz/artifacts/TARGET. Afterwards the new inputs of at most MERGE_CAP
# bytes (default 4096) that reach code the committed corpus does not are merged
# into it (edges only, not hit counts: that keeps it to tens of files).
# Needs clang and libclang-rt-14-dev (not part of scripts/setup.sh: the tests
# replay the corpus without them).
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(mode_file inbound zwave remote_file plug_key_file language_table emulator_file
         eq_filter_text cli_args)
if [ "${1:-}" = list ] || [ $# -eq 0 ]; then
    printf '%s\n' "${targets[@]}"
    exit 0
fi
target="$1"
seconds="${2:-600}"
shift $(($# < 2 ? $# : 2))
[[ " ${targets[*]} " == *" $target "* ]] || { echo "unknown fuzz target: $target" >&2; exit 2; }

# Longest input the fuzzer makes: a state file of the emulator is about 100 KB,
# a remote file 18 bytes; the rest read texts, files and report runs of a few KB.
case "$target" in
    emulator_file) max_len=131072 ;;
    remote_file) max_len=64 ;;
    *) max_len=4096 ;;
esac

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILO_FUZZ=ON >/dev/null
cmake --build build-fuzz --target "fuzz_$target"

work="build-fuzz/corpus/$target"
artifacts="build-fuzz/artifacts/$target"
mkdir -p "$work" "$artifacts"
cp -n "tests/fuzz/corpus/$target/"* "$work/"
status=0
"build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$@" "$work" || status=$?

small="$(mktemp -d)"
trap 'rm -rf "$small"' EXIT
find "$work" -type f -size -"$((${MERGE_CAP:-4096} + 1))"c -exec cp {} "$small/" \;
"build-fuzz/tests/fuzz/fuzz_$target" -merge=1 -use_counters=0 "tests/fuzz/corpus/$target" "$small" 2>&1 |
    grep -E '^MERGE-OUTER: [0-9]+ new files' || true
echo "corpus: $(find "tests/fuzz/corpus/$target" -type f | wc -l) files," \
     "$(cat "tests/fuzz/corpus/$target/"* | wc -c) bytes"
exit "$status"
