#!/bin/sh
# Writes an address book (entry.txt) holding one entry: FILE NAME IP PORT.
# The layout is the program's: a 4-byte little-endian count, then 300 records of
# three 32-byte NUL-terminated texts (name, IP address, port). A count of 1 and
# these texts hold no LF byte, so the text-mode form equals the content.
set -eu
[ $# -eq 4 ] || { echo "usage: write-entry.sh FILE NAME IP PORT" >&2; exit 64; }
file=$1 name=$2 ip=$3 port=$4

field() { # TEXT: the text, then NULs up to 32 bytes (texts of 1..31 bytes)
    printf '%s' "$1"
    head -c $((32 - ${#1})) /dev/zero
}

tmp="$file.tmp.$$"
{
    printf '\001\000\000\000'
    field "$name"
    field "$ip"
    field "$port"
    i=1
    while [ "$i" -lt 300 ]; do
        head -c 64 /dev/zero
        field 0
        i=$((i + 1))
    done
} >"$tmp"
mv "$tmp" "$file"
