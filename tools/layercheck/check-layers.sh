#!/bin/sh
# Fails when an #include "folder/..." line in src/ crosses a layer the wrong
# way: the allowed directions are listed in layers.txt beside this script.
# Usage: check-layers.sh SOURCE_DIR
set -eu
root=${1:-.}
table=$(dirname "$0")/layers.txt
[ -f "$table" ] || { echo "layer table missing: $table" >&2; exit 2; }

# Every #include "x/..." line below src/<folder>/, as "file:line:folder:x:included"
# (files directly in src/, such as main.cpp, belong to app).
find "$root/src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort | while read -r file; do
    rel=${file#"$root/src/"}
    case $rel in
        */*) folder=${rel%%/*} ;;
        *) folder=app ;;
    esac
    printf 'src/%s:1:%s:%s:%s\n' "$rel" "$folder" "$folder" "$folder" # the folder itself must be known
    grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]*/' "$file" | while IFS= read -r hit; do
        line=${hit%%:*}
        included=$(printf '%s\n' "$hit" | sed 's/^[^"]*"\([^"]*\)".*/\1/')
        printf 'src/%s:%s:%s:%s:%s\n' "$rel" "$line" "$folder" "${included%%/*}" "$included"
    done
done | awk -F: -v table="$table" '
    BEGIN {
        while ((getline row < table) > 0) {
            sub(/#.*/, "", row)
            n = split(row, f, /[ \t]+/)
            if (n == 0 || f[1] == "") continue
            known[f[1]] = 1
            for (i = 2; i <= n; ++i) allowed[f[1], f[i]] = 1
        }
    }
    {
        file = $1 ":" $2; from = $3; to = $4; what = $5
        if (!(from in known)) {
            if (!(from in told)) printf "src/%s/: folder not in the layer table %s\n", from, table
            told[from] = 1; bad = 1; next
        }
        if (!(to in known)) next # not one of ours (a system or generated header)
        if (from == to || allowed[from, "*"] || allowed[from, to]) next
        printf "%s: %s may not include %s\n", file, from, what; bad = 1
    }
    END {
        if (bad) { print "layer check: FAILED (see docs/architecture.md)"; exit 1 }
        print "layer check: every include keeps to the layers"
    }'
