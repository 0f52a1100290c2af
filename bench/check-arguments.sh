#!/bin/sh
# The benchmark's arguments: --help prints the usage and an argument it does
# not know, or one without its value, is refused; none of them starts a run
# (a run takes minutes, so the timeout is what catches one that does).
bench="$1"
fail() { echo "FAIL: $*"; exit 1; }

out=$(timeout 20 "$bench" --help 2>&1) || fail "--help ended with $?"
echo "$out" | grep -q '^Usage: tekvanis-bench' || fail "--help printed no usage: $out"

for args in "--rowz 10" "--rows" "--rows abc" "--runs 3" "--file" "--startup extra"; do
    # shellcheck disable=SC2086
    out=$(timeout 20 "$bench" $args 2>&1)
    rc=$?
    [ "$rc" -eq 2 ] || fail "'$args' ended with $rc, not 2"
    echo "$out" | grep -q 'wrong argument' || fail "'$args' named nothing: $out"
    echo "$out" | grep -q '^Usage: tekvanis-bench' || fail "'$args' printed no usage"
done
echo "bench arguments: ok"
