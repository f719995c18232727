#!/bin/sh
# The layer check on a small tree of its own: the real layer table, one file
# with each kind of fault, and files that are in order. It must name every
# faulty include and nothing else, and pass once the faults are gone.
set -eu
here=$(dirname "$0")
check="$here/../../scripts/check-layers.sh"
tree=$(mktemp -d "${TMPDIR:-/tmp}/vxlayers.XXXXXX")
trap 'rm -rf "$tree"' EXIT

mkdir -p "$tree/docs" "$tree/src/platform" "$tree/src/app" "$tree/src/widgets" "$tree/src/viewer" \
         "$tree/src/search" "$tree/src/shell"
cp "$here/../../docs/DESIGN.md" "$tree/docs/"

printf '#include "platform/a.h"\n#include <string>\n' > "$tree/src/platform/a.cpp"
printf '#include "app/vx2200net.h"\n#include "platform/a.h"\n#include <QSettings>\n' > "$tree/src/app/ok.cpp"
printf '#include "widgets/colorbtn.h"\n#include "app/pagehost.h"\n#include <QWidget>\n' > "$tree/src/viewer/ok.cpp"
printf '#include "viewer/viewerdlg.h"\n#include "search/searchdlg.h"\n' > "$tree/src/shell/ok.cpp"
# The faults: upwards, a page including a page, Qt in plain C++, Qt Widgets in Qt Core.
printf '#include "viewer/viewerdlg.h"\n' > "$tree/src/widgets/up.cpp"
printf '#include "app/vx2200net.h"\n#include "viewer/viewerdlg.h"\n' > "$tree/src/search/peer.cpp"
printf '#include <QString>\n' > "$tree/src/platform/qt.cpp"
printf '#include <QWidget>\n#include <QtWidgets/QDialog>\n' > "$tree/src/app/widgets.cpp"

status=0
out=$(sh "$check" "$tree") || status=$?
expected="src/app/widgets.cpp:1: includes <QWidget>, which is not Qt Core, in a Qt Core folder
src/app/widgets.cpp:2: includes <QtWidgets/QDialog>, which is not Qt Core, in a Qt Core folder
src/platform/qt.cpp:1: includes <QString> in a plain C++ folder
src/search/peer.cpp:2: includes viewer/viewerdlg.h from viewer, a folder of its own layer
src/widgets/up.cpp:1: includes viewer/viewerdlg.h from a layer above (viewer is above widgets)"
sorted=$(printf '%s\n' "$out" | sort)
if [ "$status" -ne 1 ] || [ "$sorted" != "$expected" ]; then
    echo "check-layers found, with status $status:"; printf '%s\n' "$out"
    echo "expected status 1 and:"; printf '%s\n' "$expected"
    exit 1
fi

rm "$tree/src/widgets/up.cpp" "$tree/src/search/peer.cpp" "$tree/src/platform/qt.cpp" "$tree/src/app/widgets.cpp"
sh "$check" "$tree" || { echo "check-layers fails on a tree in order"; exit 1; }
echo "check-layers: faults named, a tree in order passes"
