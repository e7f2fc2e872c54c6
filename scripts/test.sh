#!/usr/bin/env bash
# Installs what is missing; builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and warnings as errors and runs every test (the gate); builds the
# program and qz1 once optimised, as users build them, so that warnings only the optimiser
# finds show in the log; and, where clang is at hand, replays each fuzz target's seed corpus
# once, so that a finding fixed stays fixed. Any sanitizer report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
# Qt wants a private runtime folder; CI runs as root without one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi

# Line tables are all a sanitizer's report needs, and much quicker to build than full
# debugging information. With clang at hand the gate is built with it, its libraries also
# instrumented for the fuzzers, so that the same build gives the fuzz targets; lld links when
# at hand.
gate=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DQZ_SANITIZE=ON -DQZ_WERROR=ON)
fuzz_targets=()
if command -v clang++ >/dev/null; then
    gate+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQZ_FUZZ=ON)
    fuzz_targets=(data_file configuration chart_template qz1_edits protocol)
fi
if command -v ld.lld >/dev/null; then
    gate+=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
fi
cmake -S . -B build-test -G Ninja "${gate[@]}" >/dev/null
cmake --build build-test --parallel
(cd build-test && ctest --output-on-failure --timeout 300 -j 2)

# The program and qz1 as users build them, with g++'s optimiser warnings.
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZ_BUILD_TESTS=OFF >/dev/null
cmake --build build-release --parallel --target Tunewell_QZ qz1

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"  # Qt keeps some singletons to the end
for target in "${fuzz_targets[@]}"; do
    "build-test/bin/fuzz_$target" -runs=0 "fuzz/corpus/$target" >/dev/null 2>&1 ||
        { echo "fuzz_$target fails on its seed corpus" >&2; exit 1; }
    echo "fuzz_$target: seed corpus replayed"
done
