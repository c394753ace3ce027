#!/bin/bash
# Saves killed at random moments: notarium-cli copy writes a document over an older one and is
# killed (SIGKILL) at a random time within about one whole save. After each kill the target must
# be byte for byte the old document or the new one, and nothing else may be in the folder.
set -u
cli=$1
gen=$2
runs=${3:-50}
source "$(dirname "$0")/harness.sh"
mkdir "$work/in" "$work/out"
fail() { echo "FAIL: $*"; exit 1; }

"$gen" "$work/in/new.nmd" --nodes 20000 --bytes 6M --seed 2 > /dev/null || fail "no new document"
"$gen" "$work/in/old.nmd" --nodes 500 --bytes 200K --seed 3 > /dev/null || fail "no old document"
# What a finished copy writes.
"$cli" copy "$work/in/new.nmd" "$work/in/expected.nmd" || fail "a whole copy failed"

now() { date +%s%N; }
start=$(now)
cp "$work/in/old.nmd" "$work/out/doc.nmd"
"$cli" copy "$work/in/new.nmd" "$work/out/doc.nmd" || fail "a whole copy failed"
whole=$(( ($(now) - start) / 1000 )) # microseconds

old=0 new=0
for run in $(seq 1 "$runs"); do
    cp "$work/in/old.nmd" "$work/out/doc.nmd"
    "$cli" copy "$work/in/new.nmd" "$work/out/doc.nmd" > /dev/null 2>&1 &
    pid=$!
    delay=$(( RANDOM * RANDOM % (whole * 12 / 10 + 1) ))
    sleep "$(printf '%d.%06d' $((delay / 1000000)) $((delay % 1000000)))"
    kill -9 "$pid" 2> /dev/null
    wait "$pid" 2> /dev/null
    if cmp -s "$work/out/doc.nmd" "$work/in/old.nmd"; then
        old=$((old + 1))
    elif cmp -s "$work/out/doc.nmd" "$work/in/expected.nmd"; then
        new=$((new + 1))
    else
        fail "run $run: the target is neither the old nor the new document"
    fi
    left=$(ls -A "$work/out")
    [ "$left" = "doc.nmd" ] || fail "run $run: left behind: $(echo $left)"
done
echo "$runs kills within a ${whole} µs save: $old left the old document, $new the new one, nothing else in the folder"
# Kills that all landed after the save prove nothing.
[ "$old" -gt 0 ] || fail "no kill landed during a save"
