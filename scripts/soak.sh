#!/bin/sh
# The long fault soak: the viewer page (and the remote page's status poll) play
# against the simulator for SECONDS (default 600) while it shows every fault in
# turn. Built without the sanitizers (build-soak/), so that the memory figure
# means something; the test command runs one round with them.
#
#   sh scripts/soak.sh [SECONDS]
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh $(cat scripts/build-packages.txt)
cmake -S . -B build-soak -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_BUILD_TESTS=ON >/dev/null
cmake --build build-soak -j "$(nproc 2>/dev/null || echo 2)" --target test_viewer test_remote >/dev/null
seconds=${1:-600}
# The viewer's share of the time, then the remote page's poll.
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 VX_SOAK_SECONDS=$((seconds * 4 / 5)) \
    build-soak/tests/viewer/test_viewer --gtest_filter='*SurvivesEveryFault*'
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 VX_SOAK_SECONDS=$((seconds / 5)) \
    build-soak/tests/remote/test_remote --gtest_filter='*SurvivesEveryFault*'
