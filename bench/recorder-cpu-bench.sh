#!/usr/bin/env bash
# CPU time of the transport-stream silent recorder under Wine, per minute of
# recording at the broadcast rate (19.39 Mbit/s), against the bare receiving
# graph of the same stand-in tuner and capture feeding a null renderer
# (bench/baregraph), measured in the same run. The goal: the recorder adds
# less than 1 % of one core over the bare graph.
#
# Each round runs the bare graph, then the recorder, each for a warm-up and
# then MINUTE_SECONDS of measurement, and reads the process's user and system
# time from /proc before and after. The recorder writes its file to a
# temporary folder (BENCH_TMP, default /tmp), removed afterwards.
#
#   bash bench/recorder-cpu-bench.sh [ROUNDS] [SECONDS]   (default 2 rounds, 60 s)
#
# Needs both trees built (HARNESS_BUILD, default build/windows; the native
# tree for the antenna's generator).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/tools/wine-harness.sh"
source "$top/tools/standin-install.sh"

rounds=${1:-2}
seconds=${2:-60}
warmup=${BENCH_WARMUP:-10}
tuner="Telvantis Virtual Tuner"
capture="Telvantis Virtual Capture"
title="Silent Record TS- $tuner"

harness_setup || exit 1
work=$(mktemp -d "${BENCH_TMP:-/tmp}/recbench.XXXXXX")
cleanup() {
  harness_stop_programs
  wine "$(harness_exe telvstandin-devices)" clear >/dev/null 2>&1 || true
  rm -rf "$work"
  harness_teardown
}
trap cleanup EXIT
cd "$work"

"$top/tools/make-antenna.sh" "$work" >/dev/null
standin_install --ts-filters --antenna "$work/antenna.txt" --fail "" >/dev/null
standin_install --clear-devices --tuner "$tuner" --capture "$capture" >/dev/null
printf '%s\n%s\n' "$tuner" "$capture" >tuner.txt
mkdir -p rec

# cpu_ticks PID: user and system time of the process so far, in clock ticks.
cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
ticks_per_second=$(getconf CLK_TCK)

# program_pid NAME: the Unix process of the running Windows program NAME
# (the harness starts each program through a launcher, whose own process
# only waits for it).
program_pid() {
  local pid
  for pid in $(harness_program_pids); do
    [[ $(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1) == *"\\$1" ]] && { echo "$pid"; return 0; }
  done
  echo "no process of $1" >&2
  return 1
}

# measure PID: CPU seconds the process uses in $seconds, after the warm-up.
measure() {
  local before after
  sleep "$warmup"
  before=$(cpu_ticks "$1")
  sleep "$seconds"
  after=$(cpu_ticks "$1")
  awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" \
    'BEGIN { printf "%.2f", t / hz * 60 / s }'
}

bare_graph() {
  local pid cpu
  rm -f "$work/baregraph.out"  # the last round's "running" is not this one's
  harness_start "$work" "$(harness_exe baregraph)" "$tuner" "$capture" 7 7 1
  harness_wait_until 60 grep -qs running "$work/baregraph.out" || { echo "baregraph: $(cat "$work/baregraph.out")" >&2; return 1; }
  pid=$(program_pid baregraph.exe) || return 1
  cpu=$(measure "$pid")
  harness_stop_programs
  echo "$cpu"
}

recorder() {
  local pid cpu
  rm -f rec/*
  printf '7 7 1 %s 0\n%s\\\n' "$(date -d "+$(( (warmup + seconds) / 60 + 3 )) minutes" '+%-H %-M')" \
    "$(winepath -w "$work/rec")" >silentevent.txt
  harness_start "$work" "$(harness_exe TelvantisSRTS)" /LOCKTELVANTISSR
  harness_wait_until 60 bash -c 'ls rec/*.ts >/dev/null 2>&1' || { echo "the recorder did not record" >&2; return 1; }
  pid=$(program_pid TelvantisSRTS.exe) || return 1
  cpu=$(measure "$pid")
  harness_driver post "$title" 16 >/dev/null  # WM_CLOSE: the recorder stops and ends
  harness_wait_until 30 harness_is_gone "$pid" || harness_stop "$pid"
  echo "$cpu"
}

differences=()
for ((round = 1; round <= rounds; round++)); do
  bare=$(bare_graph)
  recording=$(recorder)
  difference=$(awk -v r="$recording" -v b="$bare" 'BEGIN { printf "%.2f", r - b }')
  differences+=("$difference")
  echo "round $round: bare graph $bare s, recorder $recording s of CPU per minute;" \
    "the recorder adds $difference s ($(awk -v d="$difference" 'BEGIN { printf "%.2f", d / 60 * 100 }') % of one core)"
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
added=$(median "${differences[@]}")
share=$(awk -v d="$added" 'BEGIN { printf "%.2f", d / 60 * 100 }')
echo "the recorder adds $added s of CPU per minute (median of $rounds rounds): $share % of one core"
if awk -v s="$share" 'BEGIN { exit !(s < 1) }'; then
  echo "goal met (< 1 % of one core)"
else
  echo "goal not met (< 1 % of one core)"
fi
