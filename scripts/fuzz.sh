#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (installing clang when missing, as root) and runs
# each for SECONDS (default 600), two at a time, from the seed corpora in fuzz/corpus. A
# finding stops its target and leaves a crash-* file in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
scripts/setup.sh
if ! command -v clang++ >/dev/null; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "clang is missing: sudo apt-get install -y clang" >&2
        exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang >/dev/null
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQZ_FUZZ=ON -DQZ_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz --parallel --target fuzz_data_file fuzz_configuration \
    fuzz_chart_template fuzz_qz1_edits fuzz_protocol
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"  # Qt keeps some singletons to the end
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p build-fuzz/findings build-fuzz/corpus
run() {
    local target=$1
    mkdir -p "build-fuzz/corpus/$target"
    "build-fuzz/bin/fuzz_$target" "build-fuzz/corpus/$target" "fuzz/corpus/$target" \
        -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -artifact_prefix="build-fuzz/findings/$target-" -print_final_stats=1 \
        >"build-fuzz/findings/$target.log" 2>&1 || { echo "$target: FINDING, see build-fuzz/findings/$target.log"; return 1; }
    grep -E "stat::number_of_executed_units|cov:" "build-fuzz/findings/$target.log" | tail -2 |
        sed "s/^/$target: /"
}
status=0
pair() {
    run "$1" & local first=$!
    run "$2" & local second=$!
    wait "$first" || status=1
    wait "$second" || status=1
}
pair data_file configuration
pair chart_template qz1_edits
run protocol || status=1
exit $status
