#!/usr/bin/env bash
# Speed of the transport-stream player's PAT scan: two generated 1 GiB files,
# one without a PAT and one whose first PAT (with its PMTs) is at 900 MiB,
# each scanned by the player's own scan code (built natively) and read with
# `cat FILE >/dev/null` in the same run, from the page cache. Prints both
# rates and their ratio (scan / cat); the goal is at least half of cat's rate.
#
#   bash bench/patscan-bench.sh [SIZE_BYTES] [ROUNDS]   (default 1 GiB, 3)
#
# Needs the native tree built (build/native, target patscan). The files are
# written to BENCH_TMP (default /tmp) and removed afterwards.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
patscan=${PATSCAN:-$top/build/native/bench/patscan}
size=${1:-1073741824}
rounds=${2:-3}
[ -x "$patscan" ] || { echo "no $patscan: build the native tree first" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMP:-/tmp}/patscan.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$patscan" gen "$work/nopat.ts" "$size"
"$patscan" gen "$work/late.ts" "$size" $((900 * 1048576))

rate() { awk -v b="$2" -v s="$1" 'BEGIN { printf "%.0f", b / 1048576 / s }'; }
seconds_of() { local start end; start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N); awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }'; }

# The scan reads whole 1 MiB blocks and stops at the block that holds the
# tables, so the late file is scanned up to 901 MiB; rates are per byte read.
for name in nopat late; do
  file=$work/$name.ts
  scanned=$size
  [ "$name" = nopat ] || scanned=$((901 * 1048576))
  cat "$file" >/dev/null  # into the page cache for both readers
  best_cat=999 best_scan=999 programs=
  for _ in $(seq "$rounds"); do
    c=$(seconds_of cat "$file")
    out=$("$patscan" scan "$file")
    s=$(sed -n 's/^seconds=//p' <<<"$out")
    programs=$(sed -n 's/^programs=//p' <<<"$out")
    best_cat=$(awk -v a="$best_cat" -v b="$c" 'BEGIN { print (b < a) ? b : a }')
    best_scan=$(awk -v a="$best_scan" -v b="$s" 'BEGIN { print (b < a) ? b : a }')
  done
  echo "$name: programs=$programs scan $(rate "$best_scan" "$scanned") MiB/s ($best_scan s), cat $(rate "$best_cat" "$size") MiB/s ($best_cat s), scan/cat $(awk -v s="$best_scan" -v c="$best_cat" -v n="$scanned" -v b="$size" 'BEGIN { printf "%.2f", (n / s) / (b / c) }')"
done
