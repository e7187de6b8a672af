#!/usr/bin/env bash
# Builds the readers' libFuzzer target (the small shared files and the
# channel scan's tables) with clang (address and undefined behaviour
# sanitizers) and runs it for the given number of seconds (default 60).
# The test run calls it; a finding ends it with a failure and leaves the
# input that caused it in the output folder.
# Exit status: 0 no finding; 77 skipped, because clang++ or its fuzzer
# runtime (Debian: clang, libclang-rt-14-dev) is not installed, with the
# reason on the last line; anything else a failure.
# FUZZ_OUT: the output folder (build, corpus, findings); default
# /tmp/telvantis-readers-fuzzer.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
out=${FUZZ_OUT:-/tmp/telvantis-readers-fuzzer}
mkdir -p "$out/corpus"
if ! command -v clang++ >/dev/null; then
  echo "clang++ is not installed"
  exit 77
fi
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
  >"$out/probe.cpp"
if ! clang++ -fsanitize=fuzzer "$out/probe.cpp" -o "$out/probe" >"$out/probe.log" 2>&1; then
  cat "$out/probe.log"
  echo "clang++ has no fuzzer runtime (Debian: libclang-rt-14-dev)"
  exit 77
fi
core="schedule/ScheduleEvent schedule/EventEnd schedule/ScheduleList schedule/ScheduleFile protocol/HandOffFiles time/CivilTime time/TimeTexts files/TextFiles files/ChannelEntry files/ViewerConfig
ts/Crc32Mpeg ts/PsiTables ts/LongSection ts/VirtualChannelTable ts/MasterGuideTable
ts/SystemTimeTable ts/PsipCollector ts/ChannelScanRules ts/Utf8Text ts/MultipleString
ts/EventInformationTable ts/ExtendedTextTable ts/GuideCollector
guide/GuideFile guide/SeriesRules"
sources=()
for name in $core; do sources+=("$top/core/$name.cpp"); done
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$top" \
  "$top/tools/fuzz/ReadersFuzzer.cpp" "${sources[@]}" -o "$out/readers-fuzzer"
"$out/readers-fuzzer" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$out/" "$out/corpus"
