#!/usr/bin/env bash
# Drives `notarium-cli find` on a small document and checks every column of its output.
set -u
cli=$1
source "$(dirname "$0")/harness.sh"

# 0 Untitled / 1 "Memo<TAB>one" / 2 Sub / 3 Paper Folder / 4 pf
# Bodies: ｶﾞ is B6 DE, ＣＡＴ is 82 62 82 60 82 73, ツ (83 63) has the trail byte 'c'.
{
  header
  page 0 Untitled 4
  page 1 $'Memo\tone' 2 'cat and cat' $'\xB6\xDE \x83\x63at'
  page 2 Sub 2 $'a \x82\x62\x82\x60\x82\x73'
  page 0 'Paper Folder' 0
  page 1 pf 2 'concatenate c' 'at'
} > "$work/doc.nmd"

expect "the document reads" "ok 5" "$("$cli" check "$work/doc.nmd")"

expected=$(printf '%s\n' \
  $'1\t0\t3\tMemo one\tcat and cat  ｶﾞ ツat  ' \
  $'1\t8\t3\tMemo one\t and cat  ｶﾞ ツat  ' \
  $'4\t3\t3\tpf\tconcatenate c  at  ' \
  '3 hits')
expect "plain search: every hit, tabs and line breaks shown as blanks" "$expected" "$("$cli" find "$work/doc.nmd" cat)"

expected=$(printf '%s\n' \
  $'1\t0\t3\tMemo one\tcat and cat  ｶﾞ ツat  ' \
  $'1\t8\t3\tMemo one\t and cat  ｶﾞ ツat  ' \
  $'2\t2\t6\tSub\ta ＣＡＴ  ' \
  $'4\t3\t3\tpf\tconcatenate c  at  ' \
  $'4\t12\t5\tpf\tenate c  at  ' \
  '5 hits')
expect "ignore width and skip breaks" "$expected" \
  "$("$cli" find "$work/doc.nmd" CAT --ignore-width --skip-breaks-and-spaces)"

expect "match case" "0 hits" "$("$cli" find "$work/doc.nmd" CAT --match-case)"
expect "whole word" "$(printf '%s\n' $'1\t0\t3' $'1\t8\t3' '2 hits')" \
  "$("$cli" find "$work/doc.nmd" cat --whole-word | cut -f1-3)"
expect "ガ finds the half-width pair" $'1\t13\t2\n1 hits' \
  "$("$cli" find "$work/doc.nmd" ガ --ignore-width | cut -f1-3)"
expect "a subtree" $'2\t2\t6\n1 hits' "$("$cli" find "$work/doc.nmd" cat --ignore-width --tree 2 | cut -f1-3)"
expect "the paper folder's subtree" $'4\t3\t3\n1 hits' "$("$cli" find "$work/doc.nmd" cat --tree 3 | cut -f1-3)"

"$cli" find "$work/doc.nmd" >/dev/null 2>&1; expect "no search text is a usage error" 2 $?
"$cli" find "$work/doc.nmd" "" >/dev/null 2>&1; expect "an empty search text is a usage error" 2 $?
"$cli" find "$work/doc.nmd" cat --bogus >/dev/null 2>&1; expect "an unknown option is a usage error" 2 $?
"$cli" find "$work/doc.nmd" cat --tree x >/dev/null 2>&1; expect "a tree index that is no number" 2 $?
"$cli" find "$work/doc.nmd" cat --tree 9 >/dev/null 2>&1; expect "a tree index past the tree" 1 $?
"$cli" find "$work/missing.nmd" cat >/dev/null 2>&1; expect "a missing file is bad input" 1 $?
"$cli" find "$work/doc.nmd" "😀" >/dev/null 2>&1; expect "a text CP932 cannot hold is bad input" 1 $?

summary
