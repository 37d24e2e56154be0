#!/usr/bin/env bash
# Builds the fuzz program of tests/fuzz (clang, libFuzzer) in build-fuzz/ and runs its targets.
#   scripts/fuzz.sh [target|all] [seconds]    default: every target, 600 s each
#   FUZZ_JOBS=2 scripts/fuzz.sh all 600       two targets at a time
# A target reads its committed seeds (tests/fuzz/corpus/<target>/, never written) and a
# scratch corpus, build-fuzz/corpus/<target>/, that keeps what it found for the next run.
# A finding (crash, sanitizer report, broken rule, an input slower than 25 s) is saved in
# build-fuzz/findings/<target>/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
all_targets=(history state_line configuration_file state_file parameter_file settings raw_dump nv_dump)
which=${1:-all}
seconds=${2:-600}
jobs=${FUZZ_JOBS:-1}
if [ "$which" = all ]; then
    targets=("${all_targets[@]}")
elif [[ " ${all_targets[*]} " == *" $which "* ]]; then
    targets=("$which")
else
    echo "Unknown fuzz target '$which'; one of: all ${all_targets[*]}" >&2
    exit 2
fi

# Configured once; ninja runs cmake again itself when a CMakeLists.txt changes.
[ -f build-fuzz/build.ninja ] || cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_FUZZ=ON >/dev/null
cmake --build build-fuzz

# The settings and parameter-file targets write and sync files on every input: in memory
# when the machine has a memory file system.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

run_target() {
    local t=$1
    local scratch=$root/build-fuzz/corpus/$t findings=$root/build-fuzz/findings/$t/
    local log=$root/build-fuzz/fuzz-$t.log
    mkdir -p "$scratch" "$findings"
    # The targets work in a scratch folder of their own, so every path here is absolute.
    if nice -n 10 "$root/build-fuzz/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=25 -report_slow_units=25 \
            -print_final_stats=1 -artifact_prefix="$findings" "$scratch" "$root/tests/fuzz/corpus/$t" \
            >"$log" 2>&1; then
        local runs features
        runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
        features=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
        echo "fuzz $t: ${seconds} s, ${runs} runs, ${features}, no finding"
    else
        echo "fuzz $t: FINDING; the input is in $findings, the log in $log:"
        grep -E -A12 'Broken rule|ERROR:|runtime error' "$log" | head -40
        return 1
    fi
}

status=0
running=0
for t in "${targets[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || status=1
        running=$((running - 1))
    fi
    run_target "$t" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || status=1
    running=$((running - 1))
done
exit $status
