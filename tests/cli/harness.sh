# Shared by the command-line tests: a work folder removed on exit, expect() and the summary.
# Sourced after the script has set cli (and samples, where it uses them).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

expect() { # name, expected, actual
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
  fi
}

# The last line of every test script: prints the counts and fails when anything failed.
summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
