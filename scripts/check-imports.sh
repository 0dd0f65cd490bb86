#!/usr/bin/env bash
# Fails when a Windows program imports a function that is not on an allow-list, so that a function
# the oldest supported Windows lacks (it would keep the program from starting) is caught at build
# time. Functions newer than that must be looked up by name at run time instead.
#
#   check-imports.sh [--list ALLOW_LIST]... FILE...
#
# FILE is a PE executable or DLL (its import table, read with objdump -p) or a static library or
# object file (its references to imported functions, the __imp_ symbols, read with nm). References
# carry no DLL name, so for them a function listed under any DLL passes. Without --list the list of
# what Windows 2000 exports, platform/windows2000-imports.txt, is used; several lists add up.
# Lines of a list are DLL!function (the DLL name in any case); # starts a comment.
# Exit status: 0 when every import is listed, 1 when one is not (each is named), 2 on bad usage or
# a file that cannot be read.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
lists=()
files=()
while [ $# -gt 0 ]; do
    case "$1" in
        --list)
            [ $# -ge 2 ] || { echo "check-imports: --list needs a file" >&2; exit 2; }
            lists+=("$2")
            shift 2 ;;
        -h|--help)
            sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'
            exit 0 ;;
        -*)
            echo "check-imports: unknown option $1" >&2
            exit 2 ;;
        *)
            files+=("$1")
            shift ;;
    esac
done
[ ${#files[@]} -gt 0 ] || { echo "usage: check-imports.sh [--list ALLOW_LIST]... FILE..." >&2; exit 2; }
[ ${#lists[@]} -gt 0 ] || lists=("$root/platform/windows2000-imports.txt")

allowed=$(mktemp)
trap 'rm -f "$allowed"' EXIT
for list in "${lists[@]}"; do
    [ -r "$list" ] || { echo "check-imports: cannot read the allow-list $list" >&2; exit 2; }
    # DLL names compare without case, function names exactly.
    sed -e 's/#.*//' -e 's/[[:space:]]//g' "$list" | awk -F'!' 'NF == 2 && $2 != "" { print tolower($1) "!" $2 }'
done | sort -u >"$allowed"

# The binutils of the file's architecture (the i686 ones do not read x86-64 files).
tool_prefix() {
    local format
    for prefix in i686-w64-mingw32 x86_64-w64-mingw32; do
        if format=$("$prefix-objdump" -f "$1" 2>/dev/null) && grep -q 'file format pei\?-' <<<"$format"; then
            echo "$prefix"
            return 0
        fi
    done
    return 1
}

# DLL!function for each entry of the import tables; an import by ordinal shows as DLL!#ordinal.
executable_imports() {
    "$1-objdump" -p "$2" | awk '
        /^[[:space:]]*DLL Name:/ { dll = tolower($3); listing = 0; next }
        dll != "" && /Hint\/Ord/ { listing = 1; next }
        listing && NF == 0 { listing = 0; dll = ""; next }
        listing && NF >= 3 { print dll "!" $3; next }
        listing && NF == 2 { print dll "!#" $2 }'
}

# Function names referenced through __imp_ symbols, without the stdcall decoration of 32-bit code.
library_imports() {
    local strip_underscore=0
    [ "$1" = i686-w64-mingw32 ] && strip_underscore=1
    "$1-nm" -u "$2" | awk -v strip="$strip_underscore" '
        $1 == "U" && $2 ~ /^__imp_/ {
            name = substr($2, 7)
            if (strip) { sub(/^_/, "", name); sub(/@[0-9]+$/, "", name) }
            print name
        }' | sort -u
}

status=0
for file in "${files[@]}"; do
    [ -r "$file" ] || { echo "check-imports: cannot read $file" >&2; exit 2; }
    prefix=$(tool_prefix "$file") || { echo "check-imports: $file is not a Windows executable or library" >&2; exit 2; }
    if "$prefix-objdump" -f "$file" | grep -q 'file format pei-'; then
        imports=$(executable_imports "$prefix" "$file" | sort -u)
        missing=$(comm -23 <(printf '%s\n' "$imports" | sed '/^$/d') "$allowed")
    else
        imports=$(library_imports "$prefix" "$file")
        missing=$(comm -23 <(printf '%s\n' "$imports" | sed '/^$/d') <(cut -d'!' -f2 "$allowed" | sort -u))
    fi
    count=$(printf '%s\n' "$imports" | sed '/^$/d' | wc -l)
    if [ -n "$missing" ]; then
        echo "check-imports: $file imports what the allow-list does not hold:"
        printf '  %s\n' $missing
        status=1
    else
        echo "check-imports: $file: $count imports, all on the allow-list"
    fi
done
exit $status
