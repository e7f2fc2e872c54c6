#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and warnings as errors, builds once optimised as users build
# (so that warnings only the optimiser finds show in the log), builds the fuzz targets when
# clang is there, and runs every test. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQZ_SANITIZE=ON -DQZ_WERROR=ON >/dev/null
cmake --build build-test --parallel
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
# Qt wants a private runtime folder; CI runs as root without one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release --parallel
# The fuzz targets are built (not run) where clang is at hand; scripts/fuzz.sh runs them.
if command -v clang++ >/dev/null; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQZ_FUZZ=ON -DQZ_BUILD_TESTS=OFF >/dev/null
    cmake --build build-fuzz --parallel --target fuzz_data_file fuzz_configuration \
        fuzz_chart_template fuzz_qz1_edits fuzz_protocol
fi
cd build-test
ctest --output-on-failure --timeout 300 -j 2
