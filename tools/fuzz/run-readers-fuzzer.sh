#!/usr/bin/env bash
# Builds the readers' libFuzzer target with clang (address and undefined
# behaviour sanitizers) and runs it for the given number of seconds
# (default 60). Not part of the normal test run.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
out=${FUZZ_OUT:-/tmp/telvantis-readers-fuzzer}
mkdir -p "$out/corpus"
command -v clang++ >/dev/null || { echo "clang++ is not installed"; exit 1; }
core="schedule/ScheduleEvent schedule/ScheduleList schedule/ScheduleFile protocol/HandOffFiles time/CivilTime time/TimeTexts files/TextFiles files/ChannelEntry files/ViewerConfig"
sources=()
for name in $core; do sources+=("$top/core/$name.cpp"); done
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -I"$top" \
  "$top/tools/fuzz/ReadersFuzzer.cpp" "${sources[@]}" -o "$out/readers-fuzzer"
"$out/readers-fuzzer" -max_total_time="$seconds" -max_len=4096 "$out/corpus"
