#!/usr/bin/env bash
# Runs the Wine end-to-end tests: sets the harness up once (one prefix, one
# X server), runs every tests/wine/test_*.sh, or those named on the command
# line (run.sh fixture), each in a fresh working folder and under a time
# limit, and ends with the line "wine: P passed, F failed".
# WINE_TEST_TIMEOUT: seconds allowed per test (default 600).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/wine-harness.sh"

limit=${WINE_TEST_TIMEOUT:-600}
passed=0
failed=0

tests=()
if [ "$#" -gt 0 ]; then
  for name in "$@"; do tests+=("$here/test_${name#test_}.sh"); done
else
  shopt -s nullglob
  tests=("$here"/test_*.sh)
fi

trap harness_teardown EXIT
trap 'exit 130' INT TERM

started=$SECONDS
if harness_setup; then
  echo "harness ready in $((SECONDS - started)) s (display $DISPLAY)"
  for script in "${tests[@]}"; do
    name=$(basename "$script" .sh)
    name=${name#test_}
    work=$HARNESS_RUN/tests/$name
    mkdir -p "$work"
    begin=$SECONDS
    status=0
    if [ -f "$script" ]; then
      (cd "$work" && TEST_NAME=$name exec timeout -k 10 "$limit" bash "$script") \
        >"$work/test.out" 2>&1 || status=$?
    else
      echo "no test script $script" >"$work/test.out"
      status=1
    fi
    harness_stop_programs
    if [ "$status" -eq 0 ]; then
      echo "PASS $name ($((SECONDS - begin)) s)"
      passed=$((passed + 1))
    else
      [ "$status" -eq 124 ] && echo "timed out after $limit s" >>"$work/test.out"
      echo "FAIL $name (status $status, $((SECONDS - begin)) s)"
      sed 's/^/    /' "$work/test.out"
      failed=$((failed + 1))
    fi
  done
else
  echo "FAIL harness setup"
  failed=$((failed + 1))
fi

harness_teardown
echo "wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
