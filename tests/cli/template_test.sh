#!/usr/bin/env bash
# Drives "notarium-cli template" as a user's script would and checks its output and exit status.
set -u
cli=$1
samples=$2
source "$(dirname "$0")/harness.sh"

"$cli" template >/dev/null 2>&1; expect "template without a file is a usage error" 2 $?
"$cli" template a b >/dev/null 2>&1; expect "template with two files is a usage error" 2 $?

expected=$(printf '%s\n' \
  $'1\t1\t1\t1\tWeekly' \
  $'2\t2\t2\t2\tメモ' \
  $'3\t3\t3\t3\tresult' \
  $'4\t1\t2\t2\tsecond')
out=$("$cli" template "$samples/weekly.nmt"); status=$?
expect "a template lists its pages" "$expected" "$out"
expect "and succeeds" 0 "$status"

expect "line feeds alone end lines" $'1\t1\t2\t2\tlf' "$("$cli" template "$samples/lf.nmt")"
expect "a file that ends after its version has no pages" "" "$("$cli" template "$samples/empty.nmt")"
: > "$work/empty.nmt"
out=$("$cli" template "$work/empty.nmt" 2>&1); status=$?
expect "an empty file is no error" "0:" "$status:$out"

out=$("$cli" template "$samples/jump.nmt" 2>"$work/err"); status=$?
expect "a level jump is a corrupt file" 1 "$status"
expect "the pages before it are listed" $'1\t1\t2\t2\ta' "$out"
expect "with the program's message" \
  "$samples/jump.nmt: テンプレートファイルの読み込み中にエラーが発生しました。 ファイルが壊れている可能性があります。" \
  "$(cat "$work/err")"

msg=$("$cli" template "$samples/version.nmt" 2>&1 >/dev/null); status=$?
expect "a wrong version is bad input" 1 "$status"
expect "its message" "$samples/version.nmt: テンプレートファイルのバージョンエラーです。" "$msg"
printf 'Notarium Data File\r\nVersion 1.10\r\n' > "$work/data.nmd"
expect "a data file is not a template" "$work/data.nmd: Notarium のテンプレートファイルではありません。" \
  "$("$cli" template "$work/data.nmd" 2>&1)"
"$cli" template "$work/missing.nmt" >/dev/null 2>&1; expect "a missing file is bad input" 1 $?

summary
