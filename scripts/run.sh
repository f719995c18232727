#!/bin/sh
# Installs what is missing, builds, and starts vx2200net. Idempotent; the build
# folder is build/.
set -eu
cd "$(dirname "$0")/.."

sh scripts/install-deps.sh $(cat scripts/build-packages.txt) fonts-noto-cjk

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_BUILD_TESTS=OFF >/dev/null
cmake --build build -j "$jobs"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: run it on a desktop, or under a virtual one: xvfb-run -a sh scripts/run.sh"
    exit 0
fi
exec build/src/app/vx2200net "$@"
