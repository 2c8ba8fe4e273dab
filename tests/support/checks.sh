# The shell tests' checks: each one printed as ok or FAIL and counted.
#   source checks.sh
CHECKS=0
FAILURES=0

# check DESCRIPTION COMMAND...: runs the command, counts and prints the result.
check() {
  local what=$1
  shift
  CHECKS=$((CHECKS + 1))
  if "$@"; then
    echo "ok  : $what"
  else
    echo "FAIL: $what"
    FAILURES=$((FAILURES + 1))
  fi
}

# check_eq DESCRIPTION EXPECTED COMMAND...: the same for what a command prints.
check_eq() {
  local what=$1 expected=$2
  shift 2
  local actual
  actual=$("$@" 2>/dev/null | tr -d '\r')
  CHECKS=$((CHECKS + 1))
  if [ "$actual" = "$expected" ]; then
    echo "ok  : $what"
  else
    echo "FAIL: $what (expected '$expected', got '$actual')"
    FAILURES=$((FAILURES + 1))
  fi
}

# Prints the tally; false when a check failed.
checks_done() {
  echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
  [ "$FAILURES" -eq 0 ]
}
