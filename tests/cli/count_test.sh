#!/usr/bin/env bash
# Drives `notarium-cli count` on a small document.
set -u
cli=$1
source "$(dirname "$0")/harness.sh"

# 0 Untitled / 1 A "ab", "cd" / 2 A1 "あいう  " / 3 Paper Folder / 4 P "x"
{
  header
  page 0 Untitled 4
  page 1 A 1 ab cd
  page 2 A1 2 $'\x82\xA0\x82\xA2\x82\xA4  '
  page 0 'Paper Folder' 0
  page 1 P 2 x
} > "$work/doc.nmd"

expect "the document reads" "ok 5" "$("$cli" check "$work/doc.nmd")"
expect "the first user node by default: its line break counts 2" $'node 6\nbranch 9\ntotal 10' \
  "$("$cli" count "$work/doc.nmd")"
expect "trailing blanks do not count, a double-byte character counts 1" $'node 3\nbranch 3\ntotal 10' \
  "$("$cli" count "$work/doc.nmd" --node 2)"
expect "a top-level node has no text of its own" $'node 0\nbranch 9\ntotal 10' \
  "$("$cli" count "$work/doc.nmd" --node 0)"

"$cli" count "$work/doc.nmd" --node 5 >/dev/null 2>&1; expect "a node past the tree is bad input" 1 $?
"$cli" count "$work/doc.nmd" --node x >/dev/null 2>&1; expect "a node index that is no number" 2 $?
"$cli" count >/dev/null 2>&1; expect "no file is a usage error" 2 $?
"$cli" count "$work/missing.nmd" >/dev/null 2>&1; expect "a missing file is bad input" 1 $?

summary
