#!/usr/bin/env bash
# Timeshift on the stand-in platform, with a model whose decoders the graph
# inserts itself (no decoders.txt): a missing timeshift folder refused before
# anything moves, a step that fails half-way (the viewer goes back to live
# television), then pause, play, the skips, the jumps, timeshift off.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

tuner="Hauppauge WinTV 885 BDA Tuner/Demod"
capture="Hauppauge WinTV 885 TS Capture"
panel="Telvantis- Hauppauge WinTV 885"
video="Telvantis Video- Hauppauge WinTV 885"
timeshift_key='HKCU\SOFTWARE\Telvantis\Hauppauge WinTV 885\Timeshift'

# A longer stream than the other viewer tests: the buffer holds what the
# test pauses over.
"$tsgen_exe" --out "$TEST_WORK/rf7.ts" --seconds 90 >/dev/null || fail "tsgen failed"
printf 'RF 7 SIGNAL 80 FILE rf7.ts\nCHANNEL 10 1 PROGRAM 1\n' >"$TEST_WORK/antenna.txt"
printf '1\nWTST 7 10 1\n' >"$TEST_WORK/channels.txt"
install_platform "$TEST_WORK/antenna.txt"
virtual_tuner "$tuner" "$capture"
wine reg delete "$timeshift_key" /f >/dev/null 2>&1 || true

text() { harness_driver text "$panel" "$1" | tr -d '\r'; }
behind() { text 1023; }
state() { text 1020; }
# The video window shows a picture (the test card has many colours).
picture_runs() {
  local png
  png=$(take_screenshot "$1" "$video")
  [ "$(identify -format '%k' "$png")" -ge 8 ] || fail "no picture in the video window ($png)"
}

dir=$(case_folder timeshift)
cp "$TEST_WORK/channels.txt" "$dir/"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WTST 10-1" 10

# --- No "Timeshift" value: refused, live television runs on ---
drv click "$panel" 1013
expect_box exclamation "NO TIMESHIFT FOLDER SET: CHOOSE ONE IN SETUP"
assert_eq OFF "$(state)" "timeshift state without a folder"
picture_runs no-folder

buffer_dir="$dir/buffer"
mkdir -p "$buffer_dir"
wine reg add "$timeshift_key" /v Timeshift /d "Z:${buffer_dir//\//\\}\\" /f >/dev/null ||
  fail "cannot set the timeshift folder"

# --- A step half-way fails: its message, then live television again ---
drv click "$panel" 1013
expect_box plain "NO SINK"
harness_wait_until 10 test "$(state)" = OFF || fail "timeshift state after the failure: $(state)"
picture_runs back-at-live
set_failing_steps ""

take_screenshot scratch-panel >/dev/null
drv key "$panel" Q
expect_exit
