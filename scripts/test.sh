#!/usr/bin/env bash
# Installs what is missing; builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and warnings as errors and runs every test (the gate); builds the
# program and qz1 once optimised, as users build them, so that warnings only the optimiser
# finds show in the log; and, where clang is at hand, builds the fuzz targets and replays
# each seed corpus once, so that a finding fixed stays fixed. Any sanitizer report fails.
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
# debugging information.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DQZ_SANITIZE=ON -DQZ_WERROR=ON >/dev/null
cmake --build build-test --parallel
(cd build-test && ctest --output-on-failure --timeout 300 -j 2)

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZ_BUILD_TESTS=OFF >/dev/null
cmake --build build-release --parallel --target Tunewell_QZ qz1

if command -v clang++ >/dev/null; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DQZ_FUZZ=ON -DQZ_BUILD_TESTS=OFF >/dev/null
    targets=(data_file configuration chart_template qz1_edits protocol)
    cmake --build build-fuzz --parallel --target "${targets[@]/#/fuzz_}"
    export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"  # Qt keeps some singletons to the end
    for target in "${targets[@]}"; do
        "build-fuzz/bin/fuzz_$target" -runs=0 "fuzz/corpus/$target" >/dev/null 2>&1 ||
            { echo "fuzz_$target fails on its seed corpus" >&2; exit 1; }
        echo "fuzz_$target: seed corpus replayed"
    done
fi
