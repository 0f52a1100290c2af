#!/bin/sh
# Fails when an #include "folder/..." line in src/ crosses a layer the wrong
# way: the allowed directions are listed in layers.txt beside this script.
# Usage: check-layers.sh SOURCE_DIR
set -eu
root=${1:-.}
table=$(dirname "$0")/layers.txt
[ -f "$table" ] || { echo "layer table missing: $table" >&2; exit 2; }
cd "$root"

# One pass over every source of src/: the table first, then each file's
# include lines. Files directly in src/ (main.cpp) belong to app.
find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort | xargs awk -v table="$table" '
    BEGIN {
        while ((getline row < table) > 0) {
            sub(/#.*/, "", row)
            n = split(row, f, /[ \t]+/)
            if (n == 0 || f[1] == "") continue
            known[f[1]] = 1
            for (i = 2; i <= n; ++i) allowed[f[1], f[i]] = 1
        }
    }
    FNR == 1 {
        n = split(FILENAME, part, "/")
        from = n > 2 ? part[2] : "app"
        if (!(from in known) && !(from in told)) {
            printf "src/%s/: folder not in the layer table %s\n", from, table
            told[from] = 1; bad = 1
        }
    }
    /^[ \t]*#[ \t]*include[ \t]*"[^"\/]+\// {
        what = $0
        sub(/^[^"]*"/, "", what); sub(/".*/, "", what)
        to = what; sub(/\/.*/, "", to)
        if (!(from in known) || !(to in known)) next # not one of our folders
        if (from == to || allowed[from, "*"] || allowed[from, to]) next
        printf "%s:%d: %s may not include %s\n", FILENAME, FNR, from, what; bad = 1
    }
    END {
        if (bad) { print "layer check: FAILED (see docs/architecture.md)"; exit 1 }
        print "layer check: every include keeps to the layers"
    }' || exit 1
