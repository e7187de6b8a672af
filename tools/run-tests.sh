#!/usr/bin/env bash
# The one test command: builds the Windows tree and the native tools that the
# Wine tests run, checks that every include keeps to its layer, builds the
# native unit tests under the address and undefined-behaviour sanitizers and
# runs them and the readers' fuzzer for a minute (when clang++ and its
# fuzzer runtime are installed) beside the Wine end-to-end tests, and ends
# with the line "N passed, N failed". (The unit tests run once, in the
# sanitizer tree: a plain run of the same tests would find nothing more.)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

passed=0
failed=0

# count_one STATUS: one more test passed (status 0) or failed.
count_one() {
  if [ "$1" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# run_ctest TREE WHAT SECONDS: runs the unit tests of a build tree, each under
# a time limit, and adds CTest's counts to ours; a run that reports no
# summary counts as one failure.
run_ctest() {
  local tree=$1 what=$2 limit=$3 log summary total bad
  log=$(mktemp)
  (cd "$tree" && ctest --output-on-failure --timeout "$limit") 2>&1 | tee "$log"
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  rm -f "$log"
  if [ -n "$summary" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  else
    echo "$what did not report a summary"
    failed=$((failed + 1))
  fi
}

# native_checks COUNTS: the native unit tests under the sanitizers, then the
# readers' fuzzer; writes "PASSED FAILED" to the file COUNTS.
native_checks() {
  passed=0 failed=0
  # Any report of the sanitizers ends the test program with a failure.
  echo "building the native tests with the address and undefined-behaviour sanitizers"
  if "$top/tools/build.sh" --sanitizers; then
    ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
      run_ctest "$top/build/native-asan" "native unit tests under the sanitizers" 900
  else
    echo "the sanitizer build failed"
    count_one 1
  fi

  local fuzz_log="$top/build/fuzz/fuzzer.log" status
  mkdir -p "$top/build/fuzz"
  FUZZ_OUT="$top/build/fuzz" bash "$top/tools/fuzz/run-readers-fuzzer.sh" 60 >"$fuzz_log" 2>&1
  status=$?
  if [ "$status" -eq 77 ]; then
    echo "readers' fuzzer skipped: $(tail -n 1 "$fuzz_log")"
  elif [ "$status" -eq 0 ]; then
    echo "readers' fuzzer: no finding ($(grep -E '^Done [0-9]+ runs' "$fuzz_log" | tail -n 1))"
    count_one 0
  else
    tail -n 60 "$fuzz_log"
    echo "readers' fuzzer failed (status $status; the whole log is $fuzz_log)"
    count_one 1
  fi
  echo "$passed $failed" >"$1"
}

# run-tests.sh --native-checks COUNTS: the native checks alone, as the run
# starts them beside the Wine tests (below), in a session of their own.
if [ "${1:-}" = --native-checks ]; then
  # The least share for the session, and the idle class within it.
  echo 19 >/proc/self/autogroup 2>/dev/null
  chrt --idle -p 0 $$ >/dev/null 2>&1 || renice -n 19 -p $$ >/dev/null
  native_checks "$2"
  exit
fi

if ! "$top/tools/build.sh" --for-tests; then
  echo "build failed"
  echo "0 passed, 1 failed"
  exit 1
fi

# --- layers ---
bash "$top/tools/check-layers.sh"
count_one $?

# --- native checks, beside the Wine tests ---
# They only compute, while the Wine tests mostly wait on the clock, so they
# run at the same time and take only the processor time the Wine tests leave
# over. The kernel shares the processor between sessions first (each Wine
# test runs in a session of its own), so the checks run in their own
# session, whose share is the least there is, and in the idle scheduling
# class within it. Their output follows the Wine tests' (a unit test's time
# limit allows for long waits).
native_log=$(mktemp)
native_counts=$(mktemp)
setsid --wait bash "$top/tools/run-tests.sh" --native-checks "$native_counts" >"$native_log" 2>&1 &
native_pid=$!
echo "the native unit tests and the readers' fuzzer run beside the Wine tests; their output follows"

# --- Wine end-to-end tests ---
wine_log=$(mktemp)
bash "$top/tests/wine/run.sh" 2>&1 | tee "$wine_log"
summary=$(grep -E '^wine: [0-9]+ passed, [0-9]+ failed$' "$wine_log" | tail -n 1)
rm -f "$wine_log"
if [ -n "$summary" ]; then
  passed=$((passed + $(sed -E 's/^wine: ([0-9]+) passed.*/\1/' <<<"$summary")))
  failed=$((failed + $(sed -E 's/.*passed, ([0-9]+) failed$/\1/' <<<"$summary")))
else
  echo "Wine end-to-end tests did not report a summary"
  failed=$((failed + 1))
fi

wait "$native_pid"
cat "$native_log"
read -r native_passed native_failed <"$native_counts" || native_passed=0 native_failed=1
rm -f "$native_log" "$native_counts"
passed=$((passed + ${native_passed:-0}))
failed=$((failed + ${native_failed:-1}))

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
