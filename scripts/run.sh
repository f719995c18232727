#!/bin/sh
# The demo: installs what is missing, builds, starts the recorder simulator on a
# free loopback port with 16 cameras, prepares a demo settings file and program
# folder under build/demo (never the operator's own) whose address book holds
# "Demo DVR" for that port, and starts vx2200net with them. The simulator stops
# when the program ends. Idempotent.
set -eu
cd "$(dirname "$0")/.."

sh scripts/install-deps.sh $(cat scripts/build-packages.txt) fonts-noto-cjk

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_BUILD_TESTS=OFF >/dev/null
cmake --build build -j "$jobs"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: run it on a desktop, or on a virtual one with: xvfb-run -a sh scripts/run.sh"
    exit 0
fi

demo="$(pwd)/build/demo"
mkdir -p "$demo/config/Varnel" "$demo/prog/Data"

build/sim/vx2200sim --port 0 --cameras 16 --clients 4 >"$demo/sim.out" 2>"$demo/sim.err" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true' EXIT INT TERM

port=""
tries=0
while [ -z "$port" ] && [ "$tries" -lt 50 ]; do
    port=$(sed -n 's/^port \([0-9][0-9]*\)$/\1/p' "$demo/sim.out" | head -n 1)
    [ -n "$port" ] || { sleep 0.1; tries=$((tries + 1)); }
done
if [ -z "$port" ]; then
    echo "The recorder simulator did not start:" >&2
    cat "$demo/sim.err" >&2
    exit 1
fi

printf '[Setting]\nProgDir=%s/prog/\n' "$demo" >"$demo/config/Varnel/VX2200NET.conf"
sh scripts/write-entry.sh "$demo/prog/Data/entry.txt" "Demo DVR" 127.0.0.1 "$port"
# The recorder records at 1/30 s (its menu is set with the power off), so the
# viewer shows every camera live within a second.
ctl() { XDG_CONFIG_HOME="$demo/config" build/tools/vx2200ctl 127.0.0.1 "$port" "$@"; }
# The PC File Viewer has something to show without a recorder: the first run
# saves three minutes of the simulator's recorded hour as the event "Demo".
if [ -z "$(XDG_CONFIG_HOME="$demo/config" build/tools/store/vx2200store events 2>/dev/null)" ]; then
    from=$(date -d '-4 minutes' '+%Y-%m-%d %H:%M')
    to=$(date -d '-1 minutes' '+%Y-%m-%d %H:%M')
    mkdir -p "$demo/store"
    # shellcheck disable=SC2086
    ctl backup $from $to "$demo/store" Demo >/dev/null || echo "The demo event could not be saved." >&2
fi
ctl key BTPF && ctl set RI 1 && ctl key BTPO && ctl record

echo "Recorder simulator on 127.0.0.1 port $port, recording; address book entry \"Demo DVR\"."
XDG_CONFIG_HOME="$demo/config" build/src/shell/vx2200net "$@"
