#!/bin/sh
# The long crash-consistency run: kills the writer of entry.txt, VX2200DB.db, a
# settings file and a picture file at random moments, TRIALS times each
# (default 300), and checks every file after every kill. The test command runs
# the same test with 40 trials each.
#
#   sh scripts/crash-trials.sh [TRIALS]
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh $(cat scripts/build-packages.txt)
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DVX_SANITIZE=ON -DVX_BUILD_TESTS=ON >/dev/null
cmake --build build-test -j "$(nproc 2>/dev/null || echo 2)" --target test_crash >/dev/null
VX_CRASH_TRIALS=${1:-300} build-test/tests/crash/test_crash
