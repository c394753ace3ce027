#!/usr/bin/env bash
# Drives `notarium-cli replace` on a small document: the count, the written file, the options and
# the refusals.
set -u
cli=$1
source "$(dirname "$0")/harness.sh"

# 0 Untitled / 1 Memo / 2 Sub / 3 Paper Folder / 4 pf
{
  header
  page 0 Untitled 4
  page 1 Memo 2 'cat and cat' 'CAT'
  page 2 Sub 2 'a cat'
  page 0 'Paper Folder' 0
  page 1 pf 2 'c a' 't'
} > "$work/doc.nmd"
cp "$work/doc.nmd" "$work/original.nmd"

text() { # the outline of a data file as plain text, line breaks as LF
  "$cli" export "$1" "$work/text.txt" && tr -d '\r' < "$work/text.txt"
}
original=$(text "$work/doc.nmd")

expect "every hit, case folded" "4 replaced" "$("$cli" replace "$work/doc.nmd" "$work/out.nmd" cat 猫)"
expect "the written file holds the replaced text" "$(sed 's/cat/猫/gI' <<< "$original")" "$(text "$work/out.nmd")"
expect "the replacement is stored as CP932" $'1\t0\t2\n1\t7\t2\n1\t11\t2\n2\t2\t2\n4 hits' \
  "$("$cli" find "$work/out.nmd" 猫 | cut -f1-3)"
expect "the read file is left as it was" "" "$(cmp "$work/doc.nmd" "$work/original.nmd" 2>&1)"

expect "a subtree" "1 replaced" "$("$cli" replace "$work/doc.nmd" "$work/out.nmd" cat dog --tree 2)"
expect "only the subtree changed" "$(sed '/^a cat$/s/cat/dog/' <<< "$original")" "$(text "$work/out.nmd")"

expect "an empty replacement deletes, with the options of find" "4 replaced" \
  "$("$cli" replace "$work/doc.nmd" "$work/out.nmd" cat "" --match-case --skip-breaks-and-spaces)"
expected=$(sed -e 's/cat//g' -e '/^c a$/,/^t$/d' <<< "$original")
expect "the hits are gone, the one across a line break too" "$expected" "$(text "$work/out.nmd")"

expect "no hit still writes the file" "0 replaced" "$("$cli" replace "$work/doc.nmd" "$work/none.nmd" zebra x)"
expect "as a copy" "$("$cli" tree "$work/doc.nmd")" "$("$cli" tree "$work/none.nmd")"

rm -f "$work/out.nmd"
msg=$("$cli" replace "$work/doc.nmd" "$work/out.nmd" cat "😀" 2>&1 >/dev/null); status=$?
expect "a replacement CP932 cannot hold is bad input" 1 "$status"
expect "it is named" "replace: the replacement holds a character that CP932 cannot hold" "$msg"
"$cli" replace "$work/doc.nmd" "$work/out.nmd" "😀" x >/dev/null 2>&1; expect "so is such a search text" 1 $?
"$cli" replace "$work/doc.nmd" "$work/out.nmd" cat x --tree 9 >/dev/null 2>&1; expect "a tree index past the tree" 1 $?
"$cli" replace "$work/missing.nmd" "$work/out.nmd" cat x >/dev/null 2>&1; expect "a missing file is bad input" 1 $?
expect "none of them wrote anything" "" "$(ls "$work" | grep out.nmd)"

"$cli" replace "$work/doc.nmd" "$work/out.nmd" cat >/dev/null 2>&1; expect "no replacement is a usage error" 2 $?
"$cli" replace "$work/doc.nmd" "$work/out.nmd" "" x >/dev/null 2>&1; expect "an empty search text" 2 $?
"$cli" replace "$work/doc.nmd" "$work/out.nmd" cat x --bogus >/dev/null 2>&1; expect "an unknown option" 2 $?

summary
