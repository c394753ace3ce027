#!/usr/bin/env bash
# Drives notarium-cli as a user's script would and checks its output and exit status.
set -u
cli=$1
samples=$2
source "$(dirname "$0")/harness.sh"

"$cli" >/dev/null 2>&1; expect "no arguments is a usage error" 2 $?
"$cli" tree >/dev/null 2>&1; expect "tree without a file is a usage error" 2 $?
"$cli" frobnicate a b >/dev/null 2>&1; expect "unknown command" 2 $?

expect "check counts the nodes" "ok 6" "$("$cli" check "$samples/memos.nmd")"

expected=$(printf '%s\n' \
  $'0\t0\t4\t4\t1\tUntitled' \
  $'1\t1\t1\t1\t1\tカテゴリ' \
  $'2\t2\t2\t2\t0\tメモ' \
  $'3\t3\t3\t3\t0\tdeep' \
  $'4\t0\t0\t0\t1\tPaper Folder' \
  $'5\t1\t2\t2\t0\tpf memo' \
  $'current\t2' \
  $'bookmarks\t1,None,2,None,None,None,None,None,None,None')
expect "tree lists every node" "$expected" "$("$cli" tree "$samples/memos.nmd")"
expect "a new document has no bookmark table" $'0\t0\t4\t4\t1\tUntitled\n1\t0\t0\t0\t1\tPaper Folder\ncurrent\t0\nbookmarks\tnil' \
  "$("$cli" tree "$samples/new.nmd")"

# copy reproduces a file the program wrote byte for byte, and its copy again.
"$cli" copy "$samples/levels.nmd" "$work/a.nmd"; expect "copy succeeds" 0 $?
"$cli" copy "$work/a.nmd" "$work/b.nmd"
expect "a written file is reproduced byte for byte" "" "$(cmp "$work/a.nmd" "$work/b.nmd" 2>&1)"
expect "the copy reads as the same tree" "$("$cli" tree "$samples/levels.nmd")" "$("$cli" tree "$work/a.nmd")"

printf 'hello\r\n' > "$work/text.txt"
msg=$("$cli" check "$work/text.txt" 2>&1 >/dev/null); status=$?
expect "a text file is bad input" 1 "$status"
expect "its message is the program's" "$work/text.txt: Notarium のデータファイルではありません。" "$msg"
: > "$work/empty.nmd"
expect "an empty file" "$work/empty.nmd: ファイルにデータが含まれていません。" "$("$cli" tree "$work/empty.nmd" 2>&1)"
"$cli" check "$work/missing.nmd" >/dev/null 2>&1; expect "a missing file is bad input" 1 $?
"$cli" copy "$samples/new.nmd" "$work/no/such/folder/x.nmd" >/dev/null 2>&1; expect "an unwritable target is reported" 1 $?

summary
