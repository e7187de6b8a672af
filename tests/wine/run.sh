#!/usr/bin/env bash
# Runs the Wine end-to-end tests: every tests/wine/test_*.sh, or those named
# on the command line (run.sh viewer_record fixture), and ends with the line
# "wine: P passed, F failed".
#
# The tests run in two lanes at once. Each lane has its own Wine prefix, X
# server and virtual desktop (one harness_setup), and runs its tests one
# after another, each in a fresh working folder and under a time limit.
# Most tests spend their time waiting on the clock (schedulers, silent
# recorders, the shutdown delay) or keep about one core busy (live video), so
# each lane is a fixed list that puts waiting tests beside busy ones.
#
# WINE_LANES=1       everything in one lane (for debugging)
# WINE_TEST_TIMEOUT  seconds allowed per test (default 600). A test that
#                    passes it is ended; the lane prints the top-level
#                    windows of its prefix, keeps a screenshot and prints
#                    its programs' thread stacks first.
# A test that failed because its programs met the X stall of Wine with
# Mesa's software GL (see harness_x_stalls; it needs gdb) runs once more,
# after a line "lane N RETRY NAME ..." that names the stalled program.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/wine-harness.sh"

limit=${WINE_TEST_TIMEOUT:-600}
lane_count=${WINE_LANES:-2}
screenshots=${HARNESS_SCREENSHOTS:-$harness_top/build/screenshots}

# The lanes. Seconds measured in a two-lane run on the 2-core machine, with
# other builds beside it, are in brackets; a test in neither list runs in
# lane 2. In a fresh-clone CI run the lanes took 1277 and 773 s before three
# tests moved from the first to the second.
lane1_tests=(
  recorder_shutdown      # [303] waits out the shutdown delay
  recorder_scheduled     # [251] waits for its minutes
  viewer_record          # [219] recordings of up to a minute
  scheduler_live         # [188]
  scheduler_record       # [174] a one-minute event
  viewer_guide           # [184] waits for the guide's programmes to start
  scheduler_window       # [ 61]
  fixture                # [ 41]
  shared_files           # [  5]
)
lane2_tests=(
  recorder_ts            # [310] waits for its minutes
  recorder_reliability   # [287]
  standin_streambuffer   # [128] a two-minute recording below the viewer
  scheduler_variant      # [123]
  player_sbe             # [ 73]
  viewer_record_hold     # [ 70] two recordings of a few seconds
  standin_bda            # [ 64]
  standin_decoders       # [ 63]
  installer              # [ 60]
  player_window          # [ 56]
  viewer_timeshift       # [ 55]
  viewer_live            # [ 50]
  standin_demux          # [ 49]
  player_menus           # [ 48]
  info                   # [ 39]
  viewer_controls        # [ 38]
  viewer_setup           # [ 29]
  viewer_scan            # [ 60] two whole scans of RF 2 to 36
  viewer_sound           # [ 28]
  plugins                # [ 26]
  viewer_failures        # [ 24]
  player_ts              # [ 15]
  tsfilters              # [ 10]
  viewer_startup         # [  5]
)

# The tests to run, by name.
chosen=()
if [ "$#" -gt 0 ]; then
  for name in "$@"; do chosen+=("${name#test_}"); done
else
  for script in "$here"/test_*.sh; do
    name=$(basename "$script" .sh)
    chosen+=("${name#test_}")
  done
fi

# lane_of NAME: the lane that runs test NAME.
lane_of() {
  [ "$lane_count" -eq 1 ] && { echo 1; return; }
  local listed
  for listed in "${lane1_tests[@]}"; do [ "$listed" = "$1" ] && { echo 1; return; }; done
  echo 2
}

# run_test LANE NAME: runs one test in the current lane's harness; prints
# its result line and, when it failed, keeps its output for the summary. A
# test that failed in the X stall of Wine with Mesa (harness_x_stalls) runs
# once more, in a fresh folder, and its line says so: the stall is the test
# platform's, and the programs it catches cannot go on.
run_test() {
  local lane=$1 name=$2 begin=$SECONDS status stall
  local work=$HARNESS_RUN/tests/$name
  run_test_once "$name"
  status=$?
  stall=$(grep -m 1 -E '^ *X STALL: ' "$work/test.out")
  if [ "$status" -ne 0 ] && [ -n "$stall" ]; then
    echo "lane $lane RETRY $name (status $status, $((SECONDS - begin)) s): ${stall#*X STALL: }"
    rm -rf "$work.stalled" && mv "$work" "$work.stalled"
    run_test_once "$name"
    status=$?
  fi
  local took=$((SECONDS - begin))
  if [ "$status" -eq 0 ]; then
    echo "lane $lane PASS $name ($took s)"
    echo "pass $name $took" >>"$results/lane$lane"
  else
    echo "lane $lane FAIL $name (status $status, $took s)"
    echo "fail $name $took" >>"$results/lane$lane"
    cp "$work/test.out" "$results/$name.out"
  fi
}

# run_test_once NAME: runs test NAME in its folder, its output in test.out
# there, and ends every program it left; returns its status (124: it ran
# out of time).
run_test_once() {
  local name=$1 script="$here/test_$1.sh"
  local work=$HARNESS_RUN/tests/$name status=0 pid
  mkdir -p "$work"
  if [ -f "$script" ]; then
    # A session of its own, so that a test that runs out of time ends with
    # everything it started.
    (cd "$work" && harness_close_fds && TEST_NAME=$name exec setsid bash "$script") \
      >"$work/test.out" 2>&1 &
    pid=$!
    if HARNESS_QUIET=1 harness_wait_until "$limit" harness_is_gone "$pid"; then
      wait "$pid"
      status=$?
    else
      status=124
      report_time_out "$name" "$work/test.out"
      kill -TERM -- "-$pid" 2>/dev/null
      HARNESS_QUIET=1 harness_wait_until 10 harness_is_gone "$pid" || kill -KILL -- "-$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
  else
    echo "no test script $script" >"$work/test.out"
    status=1
  fi
  # The programs a failed test left are looked at before they are ended,
  # unless the test's own failure showed their stacks, stalls first.
  [ "$status" -eq 0 ] || grep -q -E '^ *X STALL: ' "$work/test.out" ||
    harness_x_stalls >>"$work/test.out"
  harness_stop_programs
  return "$status"
}

# report_time_out NAME OUT: what was on the screen when test NAME ran out of
# time, added to its output OUT: the prefix's top-level windows and a
# screenshot of the desktop.
report_time_out() {
  local name=$1 out=$2 png="$screenshots/$1-timeout.png"
  {
    echo "timed out after $limit s; the top-level windows of its prefix (handle, visible, pid, class, title):"
    (harness_close_fds; exec timeout 20 wine "$HARNESS_DRIVER" list) 2>&1 | sed 's/^/    /'
    if HARNESS_QUIET=1 harness_screenshot "$png" 2>&1; then echo "screenshot: $png"; else echo "no screenshot"; fi
    echo "the stacks of its programs:"
    harness_stacks 2>&1 | sed 's/^/    /'
  } >>"$out"
}

# run_lane LANE NAME...: sets a harness up for the lane and runs its tests.
run_lane() {
  local lane=$1 name started=$SECONDS
  shift
  trap harness_teardown EXIT
  trap 'exit 130' INT TERM
  : >"$results/lane$lane"
  if ! HARNESS_QUIET=1 harness_setup; then
    echo "lane $lane FAIL harness setup"
    echo "fail harness-setup 0" >>"$results/lane$lane"
    return 1
  fi
  echo "lane $lane: harness ready in $((SECONDS - started)) s (display $DISPLAY)"
  for name in "$@"; do run_test "$lane" "$name"; done
}

root=${HARNESS_ROOT:-$harness_top/.wine-run}
mkdir -p "$root" || exit 1
results=$(mktemp -d "$root/results.XXXXXX") || exit 1

lane_pids=()
trap 'kill "${lane_pids[@]}" 2>/dev/null; wait; rm -rf "$results"; exit 130' INT TERM
started=$SECONDS
for ((lane = 1; lane <= lane_count; lane++)); do
  tests=()
  for name in "${chosen[@]}"; do [ "$(lane_of "$name")" -eq "$lane" ] && tests+=("$name"); done
  [ "${#tests[@]}" -gt 0 ] || continue
  run_lane "$lane" "${tests[@]}" &
  lane_pids+=($!)
done
wait

passed=0
failed=0
summary=""
for ((lane = 1; lane <= lane_count; lane++)); do
  [ -f "$results/lane$lane" ] || continue
  count=0 total=0
  while read -r result name took; do
    count=$((count + 1))
    total=$((total + took))
    if [ "$result" = pass ]; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
      echo "--- $name (lane $lane) ---"
      [ -f "$results/$name.out" ] && sed 's/^/    /' "$results/$name.out"
    fi
  done <"$results/lane$lane"
  summary+="lane $lane: $count tests in $total s; "
done
rm -rf "$results"
echo "${summary:-no lane ran; }all lanes done in $((SECONDS - started)) s"
echo "wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
