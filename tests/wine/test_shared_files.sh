#!/usr/bin/env bash
# The suite's small shared files (schedule, guide, settings) are replaced
# whole by one program while another may be reading them: a replacement
# waits for the reader to let the file go instead of failing, and one that
# cannot be made leaves the old content whole.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

echo "step: filetest.exe"
out=$(wine "$(harness_exe filetest)" 2>&1 | tr -d '\r') || fail "$out"
echo "$out"
echo "shared files: all checks passed"
