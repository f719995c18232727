#!/bin/sh
# The layer check: reads every #include line of the source folders and fails,
# naming the file and the include, when a file includes from a layer above its
# own, from another folder of its own layer (a page including another page), or
# when a plain-C++ folder includes Qt (a Qt Core folder: anything but Qt Core).
#
# The layers and their folders are read from the table in docs/DESIGN.md
# between the lines "<!-- layers -->" and "<!-- /layers -->"; this script holds
# no order of its own.
#
#   sh scripts/check-layers.sh [ROOT]      (ROOT defaults to the repository)
set -eu

root=${1:-"$(dirname "$0")/.."}
design="$root/docs/DESIGN.md"
[ -f "$design" ] || { echo "check-layers: $design not found" >&2; exit 2; }

# The Qt Core headers, to tell Qt Core includes from Qt Widgets and Qt Gui ones.
qtcore=""
for dir in /usr/include/*/qt6/QtCore /usr/include/qt6/QtCore; do
    [ -d "$dir" ] && qtcore=$dir && break
done

# "folder layer kind" lines from the table rows "| n | folders | kind | ... |".
table=$(awk '
    /<!-- layers -->/ { inside = 1; next }
    /<!-- \/layers -->/ { inside = 0 }
    inside && /^\|[ ]*[0-9]+[ ]*\|/ {
        n = split($0, cell, "|")
        layer = cell[2]; gsub(/[ `]/, "", layer)
        kind = cell[4]; gsub(/[ `]/, "", kind)
        count = split(cell[3], folders, /[ ,`]+/)
        for (i = 1; i <= count; ++i)
            if (folders[i] != "") print folders[i], layer, kind
    }' "$design")
[ -n "$table" ] || { echo "check-layers: no layer table in $design" >&2; exit 2; }

echo "$table" | awk -v root="$root" -v qtcore="$qtcore" '
function qtcore_header(name,    path) {
    if (name ~ /^Qt[A-Za-z]+\//) return name ~ /^QtCore\//
    if (qtcore == "") return name ~ /^Q(Core|Object|String|Settings|Timer|Event|Byte|List|Map|Vector|Date|Dir|File|Variant|Meta)/
    path = qtcore "/" name
    return (system("test -e \"" path "\"") == 0)
}
{ layer[$1] = $2 + 0; kind[$1] = $3; order[++n] = $1 }
END {
    bad = 0
    for (i = 1; i <= n; ++i) {
        folder = order[i]
        base = (folder == "sim") ? root "/sim" : root "/src/" folder
        cmd = "find \"" base "\" -type f \\( -name \"*.h\" -o -name \"*.cpp\" \\) 2>/dev/null | sort"
        while ((cmd | getline file) > 0) {
            line = 0
            while ((getline text < file) > 0) {
                ++line
                if (text !~ /^[ \t]*#[ \t]*include/) continue
                shown = file; sub("^" root "/", "", shown)
                if (match(text, /"[^"]+"/)) {
                    inc = substr(text, RSTART + 1, RLENGTH - 2)
                    if (index(inc, "/") == 0) continue   # a file of the same folder
                    top = inc; sub(/\/.*/, "", top)
                    if (top == folder) continue
                    if (!(top in layer)) {
                        printf "%s:%d: includes %s from %s, which is no layer\n", shown, line, inc, top
                        bad = 1
                    } else if (layer[top] > layer[folder]) {
                        printf "%s:%d: includes %s from a layer above (%s is above %s)\n", shown, line, inc, top, folder
                        bad = 1
                    } else if (layer[top] == layer[folder]) {
                        printf "%s:%d: includes %s from %s, a folder of its own layer\n", shown, line, inc, top
                        bad = 1
                    }
                } else if (match(text, /<Q[^>]*>/)) {
                    inc = substr(text, RSTART + 1, RLENGTH - 2)
                    if (kind[folder] == "plain") {
                        printf "%s:%d: includes <%s> in a plain C++ folder\n", shown, line, inc
                        bad = 1
                    } else if (kind[folder] == "core" && !qtcore_header(inc)) {
                        printf "%s:%d: includes <%s>, which is not Qt Core, in a Qt Core folder\n", shown, line, inc
                        bad = 1
                    }
                }
            }
            close(file)
        }
        close(cmd)
    }
    exit bad
}'
