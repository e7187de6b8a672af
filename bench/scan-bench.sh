#!/usr/bin/env bash
# The channel scan's speed under Wine with the stand-in platform: the
# default virtual antenna scanned over RF 2 to 36 from the setup window,
# timed from START to "SCAN DONE", against the floor for any scanner on the
# stand-in tuner: for each RF channel, the tuner's lock time and one
# repetition interval of the virtual channel table. The figure is the median
# of the rounds; the goal is the scan within 1.5 times the floor and under
# 45 s.
#
#   bash bench/scan-bench.sh [ROUNDS]   (default 3)
#
# Needs both trees built (HARNESS_BUILD, default build/windows; tsgen from
# build/native).
set -euo pipefail
source "$(cd "$(dirname "$0")/.." && pwd)/tests/wine/lib.sh"
source "$harness_top/tests/wine/viewer_lib.sh"

rounds=${1:-3}
from=2 to=36
# The two waits the floor is made of, read where they are set.
lock_ms=$(sed -n 's/.*kLockTime{\([0-9]*\)}.*/\1/p' "$harness_top/standin/bda/VirtualTuner.h")
tvct_ms=$(sed -n 's|.*kTvctInterval27 = kClock27 \* \([0-9]*\) / \([0-9]*\);.*|1000 * \1 / \2|p' \
  "$harness_top/tools/tsgen/TestStreamMuxer.cpp")
tvct_ms=$((tvct_ms))
[ "${lock_ms:-0}" -gt 0 ] && [ "$tvct_ms" -gt 0 ] || fail "cannot read the lock time or the table interval"
floor_ms=$(((to - from + 1) * (lock_ms + tvct_ms)))

controls_exe=$(harness_exe telvcommoncontrols) || fail "no telvcommoncontrols.exe"
setup="Telvantis Setup"
scan="Telvantis Channel Scan"

bash "$harness_top/tools/make-antenna.sh" "$TEST_WORK/antenna" 4 >/dev/null || fail "make-antenna.sh failed"
install_platform "$TEST_WORK/antenna/antenna.txt"
virtual_tuner "$tuner" "$capture"

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
now_ms() { date +%s%3N; }

declare -a times
for ((round = 1; round <= rounds; round++)); do
  # A first run: the setup window opens by itself.
  start_viewer "$(case_folder "round$round")"
  drv wait-shown "$setup" 60 >/dev/null
  harness_tool "$controls_exe" tab "$setup" 3000 3 >/dev/null
  drv click "$setup" 3057
  drv wait-shown "$scan" 20 >/dev/null
  drv set-text "$scan" 3090 $from
  drv set-text "$scan" 3092 $to
  begin=$(now_ms)
  drv click "$scan" 3094
  drv wait-text "$scan" 3096 "SCAN DONE: 6 CHANNELS FOUND" 120
  times+=($(($(now_ms) - begin)))
  echo "round $round: scan ${times[-1]} ms"
  harness_stop_programs
done

scan_ms=$(median "${times[@]}")
ratio=$(awk -v s="$scan_ms" -v f="$floor_ms" 'BEGIN { printf "%.2f", s / f }')
echo "scan of RF $from-$to (median of $rounds): $scan_ms ms; floor $floor_ms ms" \
  "($((to - from + 1)) x (lock $lock_ms ms + table interval $tvct_ms ms)); ratio $ratio"
if awk -v r="$ratio" -v s="$scan_ms" 'BEGIN { exit !(r <= 1.5 && s < 45000) }'; then
  echo "goal met (ratio <= 1.5, under 45 s)"
else
  echo "goal not met (ratio <= 1.5, under 45 s)"
fi
