#!/usr/bin/env bash
# The one test command: builds both trees, runs the native unit tests and the
# Wine end-to-end tests, and ends with the line "N passed, N failed".
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

if ! "$top/tools/build.sh"; then
  echo "build failed"
  echo "0 passed, 1 failed"
  exit 1
fi

passed=0
failed=0

native_log=$(mktemp)
(cd "$top/build/native" && ctest --output-on-failure --timeout 120) 2>&1 | tee "$native_log"
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$native_log" | tail -n 1)
rm -f "$native_log"
if [ -n "$summary" ]; then
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
else
  echo "native unit tests did not report a summary"
  failed=$((failed + 1))
fi

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
