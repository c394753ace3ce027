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

# Data files written by hand: the header (current node 0, no bookmark table), then one page per
# node: level, title (CP932 bytes), kind, body lines...
header() {
  printf 'Notarium Data File\r\nVersion 1.10\r\n\r\n::CurrentNode::\r\n0\r\n\r\n::Bookmarks::\r\nnil\r\n\r\n'
}
page() {
  local level=$1 title=$2 kind=$3
  shift 3
  printf '::Page::\r\n%s\r\n%s\r\n%s\r\n%s\r\nTRUE\r\nbegin{{\r\n' "$level" "$title" "$kind" "$kind"
  for line in "$@"; do printf '%s\r\n' "$line"; done
  printf '}}end\r\n\r\n'
}

# The last line of every test script: prints the counts and fails when anything failed.
summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
