#!/usr/bin/env bash
# The viewer's speed under Wine with the stand-in platform: start to first
# picture, and channel change (the W key) to the new program's first
# picture. Each round times the viewer and, in the same run, a bare graph
# program doing the same steps (bench/viewerbench: the same live graph for
# the same tuner model and channel built into a window of the same size,
# then re-tuned). The figures are the medians of the rounds, and the goal is
# the viewer within 1.3 times the bare program for both.
#
#   bash bench/viewer-bench.sh [ROUNDS]   (default 5)
#
# Needs both trees built (HARNESS_BUILD, default build/windows; tsgen from
# build/native). A picture counts as seen when its first colour bar shows on
# screen (viewerbench polls the screen every 5 ms), so both programs are
# timed by the same rule.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/tools/wine-harness.sh"
source "$top/tools/standin-install.sh"

rounds=${1:-5}
tuner="Hauppauge WinTV 885 BDA Tuner/Demod"
capture="Hauppauge WinTV 885 TS Capture"
panel="Telvantis- Hauppauge WinTV 885"
video="Telvantis Video- Hauppauge WinTV 885"

harness_setup || exit 1
work=$(mktemp -d "${BENCH_TMP:-/tmp}/viewerbench.XXXXXX")
cleanup() { rm -rf "$work"; harness_teardown; }
trap cleanup EXIT
cd "$work"

TSGEN=$top/build/native/tools/tsgen bash "$top/tools/make-antenna.sh" "$work" 6 >/dev/null
standin_install --antenna "$work/antenna.txt" --fail "" >/dev/null
standin_install --clear-devices --tuner "$tuner" --capture "$capture" >/dev/null
cp "$(harness_exe viewerbench)" .
viewer=$(harness_exe Telvantis)
# The video window at 100,50 with a 640 x 360 picture, on channel 0 (7-1);
# no captions, so that nothing covers the picture.
printf '17\n100\n50\n746\n416\n30\n700\n1\n0\n0\n0\n0\n0\n0\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0' \
  >config.txt

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
field() { sed -n "s/.*$1=\([0-9]*\).*/\1/p" <<<"$2"; }

run_viewer() { wine ./viewerbench.exe viewer "$(winepath -w "$viewer")" "$panel" "$video" | tr -d '\r'; }
run_bare() { wine ./viewerbench.exe bare | tr -d '\r'; }

declare -a viewer_start viewer_change bare_start bare_change
for ((round = 1; round <= rounds; round++)); do
  # The order turns round by round, so that neither always runs first.
  if ((round % 2)); then
    v=$(run_viewer) && b=$(run_bare) || exit 1
  else
    b=$(run_bare) && v=$(run_viewer) || exit 1
  fi
  viewer_start+=("$(field start_ms "$v")")
  viewer_change+=("$(field change_ms "$v")")
  bare_start+=("$(field start_ms "$b")")
  bare_change+=("$(field change_ms "$b")")
  echo "round $round: viewer $v; bare $b"
done

vs=$(median "${viewer_start[@]}")
vc=$(median "${viewer_change[@]}")
bs=$(median "${bare_start[@]}")
bc=$(median "${bare_change[@]}")
rs=$(awk -v v="$vs" -v b="$bs" 'BEGIN { printf "%.2f", v / b }')
rc=$(awk -v v="$vc" -v b="$bc" 'BEGIN { printf "%.2f", v / b }')
echo "start to first picture (median of $rounds): viewer $vs ms, bare $bs ms, ratio $rs"
echo "channel change to first picture (median of $rounds): viewer $vc ms, bare $bc ms, ratio $rc"
if awk -v a="$rs" -v b="$rc" 'BEGIN { exit !(a <= 1.3 && b <= 1.3) }'; then
  echo "goal met (both ratios <= 1.3)"
else
  echo "goal not met (both ratios <= 1.3)"
fi
