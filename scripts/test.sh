#!/bin/sh
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test (widgets on Qt's offscreen
# platform). Idempotent; the build folder is build-test/.
set -eu
cd "$(dirname "$0")/.."

sh scripts/install-deps.sh $(cat scripts/build-packages.txt)

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DVX_SANITIZE=ON -DVX_BUILD_TESTS=ON >/dev/null
cmake --build build-test -j "$jobs"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-test --output-on-failure -j "$jobs" --timeout 1200

# The fuzz targets over their corpus and a short fixed number of runs.
sh scripts/fuzz.sh
