#!/bin/sh
# Builds the Debian package (build-pkg/, optimised, without tests), checks it
# with lintian, installs it with apt-get, starts the installed vx2200net on the
# offscreen platform and vx2200ctl against the installed vx2200sim, checks the
# man pages, the desktop entry and the icon, and removes the package again.
# Needs root (or sudo) for apt-get.
set -eu
cd "$(dirname "$0")/.."

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
sh scripts/install-deps.sh $(cat scripts/build-packages.txt) dpkg-dev lintian man-db desktop-file-utils

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DVX_BUILD_TESTS=OFF >/dev/null
cmake --build build-pkg -j "$jobs" >/dev/null
rm -f build-pkg/vx2200net_*.deb
(cd build-pkg && cpack >/dev/null)
deb=$(ls build-pkg/vx2200net_*.deb)
programs="vx2200net vx2200ctl vx2200sim vx2200store"
echo "package: $deb"
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Architecture\|Depends\):/  \1:/p'

echo "lintian:"
lintian --fail-on error --tag-display-limit 0 "$deb" || { echo "lintian reports errors"; exit 1; }

$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb" >/dev/null
home=$(mktemp -d "${TMPDIR:-/tmp}/vxpkg.XXXXXX")
cleanup() {
    [ -n "${sim:-}" ] && kill "$sim" 2>/dev/null || true
    [ -n "${net:-}" ] && kill "$net" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

for program in $programs; do
    [ -x /usr/bin/$program ] || { echo "missing /usr/bin/$program"; exit 1; }
    man -w $program >/dev/null || { echo "no man page for $program"; exit 1; }
done
desktop-file-validate /usr/share/applications/vx2200net.desktop
[ -f /usr/share/icons/hicolor/48x48/apps/vx2200net.png ] || { echo "no icon"; exit 1; }
[ -s /usr/share/vx2200net/nopicture.jpg ] || { echo "no nopicture.jpg"; exit 1; }

# The simulator and the client from /usr/bin.
/usr/bin/vx2200sim --port 0 >"$home/sim.out" &
sim=$!
for _ in 1 2 3 4 5 6 7 8 9 10; do
    port=$(sed -n 's/^port //p' "$home/sim.out")
    [ -n "$port" ] && break
    sleep 0.2
done
status=$(/usr/bin/vx2200ctl 127.0.0.1 "$port" status)
echo "vx2200ctl status: $status"
[ "$status" = "power=1 playback=0 recording=0 disk=0" ] || { echo "unexpected status"; exit 1; }

# The program starts on the offscreen platform, with a home of its own, and
# keeps running until it is ended.
HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home" \
    QT_QPA_PLATFORM=offscreen /usr/bin/vx2200net &
net=$!
sleep 3
kill -0 "$net" || { echo "vx2200net ended by itself"; exit 1; }
[ -f "$home/data/VX2200NET/Data/entry.txt" ] || [ -d "$home/data/VX2200NET/Data" ] ||
    { echo "vx2200net made no program folder"; exit 1; }
kill "$net"; wait "$net" 2>/dev/null || true; net=""
kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""

$SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q vx2200net >/dev/null
for program in $programs; do
    [ ! -e /usr/bin/$program ] || { echo "/usr/bin/$program left after removal"; exit 1; }
done
echo "package: installed, ran and removed cleanly"
