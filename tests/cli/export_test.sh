#!/usr/bin/env bash
# Drives "notarium-cli export" as a user's script would and checks the exact bytes of the text file.
set -u
cli=$1
samples=$2
source "$(dirname "$0")/harness.sh"
memos="$samples/memos.nmd"

# Compares a file with the expected bytes as hexadecimal, so CR, form feeds and CP932 bytes show.
expect_same() { # name, expected file, actual file
  expect "$1" "$(od -An -tx1 -v "$2")" "$(od -An -tx1 -v "$3" 2>&1)"
}

expect_lines() { # name, file, the expected lines (each ended by CR LF in the file)
  local name=$1 file=$2 line
  shift 2
  for line in "$@"; do printf '%s\r\n' "$line"; done > "$work/expected"
  expect_same "$name" "$work/expected" "$file"
}

# memos.nmd: カテゴリ (category) > メモ (memo) > deep (result), then the paper folder with "pf memo".
doc_lines=('カテゴリ' '' 'メモ' '表ソ' '' 'abc' '' 'deep' 'x' '')

"$cli" export "$memos" "$work/plain.txt"; expect "export succeeds" 0 $?
expect_lines "no option: no marks, UTF-8, paper folder as a rule" "$work/plain.txt" \
  "${doc_lines[@]}" '========' '' 'pf memo' '}}endx' ''

"$cli" export "$memos" "$work/numbers.txt" --outline-numbers --contents --ignore-paper-folder
expect_lines "outline numbers with contents, paper folder ignored" "$work/numbers.txt" \
  '目次' '====' '' $'\t1. カテゴリ' $'\t\t1.1 メモ' $'\t\t\t1.1.1 deep' '' '' \
  '1. カテゴリ' '' '1.1 メモ' '表ソ' '' 'abc' '' '1.1.1 deep' 'x' ''

"$cli" export "$memos" "$work/sep.txt" --outline-numbers=- --tree 1 --empty-line
expect_lines "own separator, subtree, empty line" "$work/sep.txt" \
  '1. カテゴリ' '' '1-1 メモ' '' '表ソ' '' 'abc' '' '1-1-1 deep' '' 'x' ''

"$cli" export "$memos" "$work/kind.txt" --kind-marks=■,●,★ --memo 2 --encoding CP932
printf '\x81\x9c\x83\x81\x83\x82\r\n\x95\x5c\x83\x5c\r\n\r\nabc\r\n\r\n' > "$work/expected"
expect_same "kind mark in CP932, one memo" "$work/expected" "$work/kind.txt"

"$cli" export "$memos" "$work/levels.txt" --level-marks=◆,・ --new-page
expect_lines "level marks (a missing mark is empty), new page for the paper folder" "$work/levels.txt" \
  '◆カテゴリ' '' '・メモ' '表ソ' '' 'abc' '' 'deep' 'x' '' $'\f' '' '◆pf memo' '}}endx' ''

"$cli" export "$memos" "$work/root.txt" --tree=0 --encoding=utf-8
expect_lines "the document node's tree leaves the node out" "$work/root.txt" "${doc_lines[@]}"

"$cli" export "$memos" "$work/pf.txt" --tree 4 --new-page --ignore-paper-folder
expect_lines "the paper folder's tree, its switches off" "$work/pf.txt" 'pf memo' '}}endx' ''

# Bad usage answers 2 and writes nothing.
for args in "" "$memos" "$memos $work/u.txt extra" "$memos $work/u.txt --outline-numbers --kind-marks=a" \
    "$memos $work/u.txt --encoding EUC-JP" "$memos $work/u.txt --encoding" "$memos $work/u.txt --tree" \
    "$memos $work/u.txt --tree x" "$memos $work/u.txt --tree 1 --memo 2" "$memos $work/u.txt --bogus" \
    "$memos $work/u.txt --level-marks=1,2,3,4,5,6,7,8,9,10" "$memos $work/u.txt --kind-marks=a,b,c,d"; do
  # shellcheck disable=SC2086
  "$cli" export $args >/dev/null 2>&1; expect "usage error: export $args" 2 $?
done
expect "no file after a usage error" "no" "$([ -e "$work/u.txt" ] && echo yes || echo no)"

# Bad input answers 1 with a message and leaves an existing output file alone.
printf 'old' > "$work/keep.txt"
msg=$("$cli" export "$memos" "$work/keep.txt" --memo 4 2>&1); expect "a top-level node is no memo" 1 $?
expect "its message" "$memos: node 4 is a top-level node without a body" "$msg"
"$cli" export "$memos" "$work/keep.txt" --tree 3 >/dev/null 2>&1; expect "a tree needs children" 1 $?
"$cli" export "$memos" "$work/keep.txt" --memo 6 >/dev/null 2>&1; expect "an index past the end" 1 $?
expect "the old output is untouched" "old" "$(cat "$work/keep.txt")"
"$cli" export "$work/missing.nmd" "$work/x.txt" >/dev/null 2>&1; expect "a missing document" 1 $?
"$cli" export "$memos" "$work/no/such/x.txt" >/dev/null 2>&1; expect "an unwritable target" 1 $?

summary
