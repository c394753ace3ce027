#!/bin/bash
# Saves past a file size limit (ulimit -f): notarium-cli copy writes a document larger than the
# limit over a smaller one. The write fails with EFBIG instead of a signal ending the program; the
# copy must fail with a message that gives the reason, the old document must be byte for byte as
# it was, and nothing else may be left in the folder.
set -u
cli=$1
gen=$2
source "$(dirname "$0")/harness.sh"
mkdir "$work/in" "$work/out"
fail() { echo "FAIL: $*"; exit 1; }

"$gen" "$work/in/big.nmd" --nodes 3000 --bytes 1M --seed 4 > /dev/null || fail "no big document"
"$gen" "$work/in/old.nmd" --nodes 200 --bytes 60K --seed 5 > /dev/null || fail "no old document"

# Limits in 1024-byte blocks: the old document fits, the big one does not.
limit=300
[ "$(stat -c %s "$work/in/old.nmd")" -lt $((limit * 1024)) ] || fail "the old document is over the limit"
[ "$(stat -c %s "$work/in/big.nmd")" -gt $((limit * 1024)) ] || fail "the big document is under the limit"

# Within the limit a copy goes through: the limit alone makes no save fail.
(ulimit -f "$limit"; exec "$cli" copy "$work/in/old.nmd" "$work/out/doc.nmd") \
    || fail "a copy within the limit failed"
cp "$work/out/doc.nmd" "$work/in/before.nmd"

(ulimit -f "$limit"; exec "$cli" copy "$work/in/big.nmd" "$work/out/doc.nmd") > "$work/stdout" 2> "$work/stderr"
status=$?
[ "$status" -ne 0 ] || fail "the copy over the limit reported success"
# 128 + SIGXFSZ (25): the signal ended the program in the middle of the save.
[ "$status" -ne 153 ] || fail "the copy was ended by SIGXFSZ"
grep -q "ファイルを保存できませんでした。" "$work/stderr" || fail "no save failure message: $(cat "$work/stderr")"
grep -q "ファイルが大きすぎて書き込めません。 (File too large)" "$work/stderr" \
    || fail "the message does not give the reason: $(cat "$work/stderr")"
grep -q "doc.nmd" "$work/stderr" || fail "the message does not name the file: $(cat "$work/stderr")"
cmp -s "$work/out/doc.nmd" "$work/in/before.nmd" || fail "the old document was changed"
left=$(ls -A "$work/out")
[ "$left" = "doc.nmd" ] || fail "left behind: $(echo $left)"

# A new file past the limit: nothing at all is left.
(ulimit -f "$limit"; exec "$cli" copy "$work/in/big.nmd" "$work/out/new.nmd") 2> /dev/null \
    && fail "the copy to a new file over the limit reported success"
left=$(ls -A "$work/out")
[ "$left" = "doc.nmd" ] || fail "a failed copy to a new file left: $(echo $left)"
echo "a save over the limit failed with: $(cat "$work/stderr")"
