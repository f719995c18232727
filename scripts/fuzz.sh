#!/bin/sh
# The fuzz targets: builds them with clang and libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer, no recovery) in build-fuzz/, then
#
#   sh scripts/fuzz.sh            runs each target over its seed corpus and its
#                                 regression inputs, then a short fixed number of
#                                 runs from there (what the test command does)
#   sh scripts/fuzz.sh SECONDS    fuzzes each target for SECONDS, two at a time,
#                                 and prints the runs each one made
#
# Seeds live in fuzz/corpus/<target>/ (vx2200seeds makes them), inputs that once
# found a fault in fuzz/regressions/<target>/. New findings land in
# build-fuzz/findings/; the script then fails.
set -eu
cd "$(dirname "$0")/.."

sh scripts/install-deps.sh cmake make clang libclang-rt-14-dev libjpeg62-turbo-dev

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" >/dev/null

targets="answers picture log jpeg entry filedb settings storewalk"
findings=build-fuzz/findings
mkdir -p "$findings"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

regress() {
    t=$1
    work=$(mktemp -d "${TMPDIR:-/tmp}/vxfuzz.$t.XXXXXX")
    inputs=$(ls -d fuzz/corpus/$t fuzz/regressions/$t 2>/dev/null || true)
    # Every seed and regression input once, then 2000 runs mutating them.
    status=0
    # shellcheck disable=SC2086
    if build-fuzz/fuzz/fuzz_$t -runs=0 -artifact_prefix="$findings/$t-" $inputs >"$work/log" 2>&1; then
        build-fuzz/fuzz/fuzz_$t -runs=2000 -seed=1 -artifact_prefix="$findings/$t-" "$work" $inputs \
            >>"$work/log" 2>&1 || status=$?
    else
        status=$?
    fi
    if [ $status -ne 0 ]; then
        cat "$work/log"
        echo "fuzz_$t: a finding (see $findings)"
    else
        echo "fuzz_$t: corpus and 2000 runs, nothing found"
    fi
    rm -rf "$work"
    return $status
}

fuzz_for() {
    t=$1
    seconds=$2
    work=build-fuzz/corpus/$t
    mkdir -p "$work"
    status=0
    # shellcheck disable=SC2046
    build-fuzz/fuzz/fuzz_$t -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/$t-" \
        "$work" fuzz/corpus/$t $(ls -d fuzz/regressions/$t 2>/dev/null || true) >"build-fuzz/$t.log" 2>&1 ||
        status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build-fuzz/$t.log")
    echo "fuzz_$t: ${runs:-?} runs in $seconds s, status $status"
    return $status
}

failed=0
if [ $# -eq 0 ]; then
    for t in $targets; do
        regress "$t" || failed=1
    done
else
    seconds=$1
    set -- $targets
    while [ $# -gt 0 ]; do
        a=$1; shift
        b=${1:-}; [ -n "$b" ] && shift
        fuzz_for "$a" "$seconds" & pa=$!
        pb=""
        if [ -n "$b" ]; then fuzz_for "$b" "$seconds" & pb=$!; fi
        wait $pa || failed=1
        if [ -n "$pb" ]; then wait $pb || failed=1; fi
    done
fi
exit $failed
