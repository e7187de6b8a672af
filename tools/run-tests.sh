#!/usr/bin/env bash
# The one test command: builds the Windows tree and the native tools that the
# Wine tests run, checks that every include keeps to its layer, builds the
# native unit tests under the address and undefined-behaviour sanitizers and
# runs them, runs the readers' fuzzer for a minute (when clang++ and its
# fuzzer runtime are installed), runs the Wine end-to-end tests, and ends
# with the line "N passed, N failed". (The unit tests run once, in the
# sanitizer tree: a plain run of the same tests would find nothing more.)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

if ! "$top/tools/build.sh" --for-tests; then
  echo "build failed"
  echo "0 passed, 1 failed"
  exit 1
fi

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

# --- layers ---
bash "$top/tools/check-layers.sh"
count_one $?

# --- native unit tests, under the sanitizers ---
# Any report of the sanitizers ends the test program with a failure.
echo "building the native tests with the address and undefined-behaviour sanitizers"
if "$top/tools/build.sh" --sanitizers; then
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
    run_ctest "$top/build/native-asan" "native unit tests under the sanitizers" 300
else
  echo "the sanitizer build failed"
  count_one 1
fi

# --- the readers' fuzzer ---
fuzz_log="$top/build/fuzz/fuzzer.log"
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

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
