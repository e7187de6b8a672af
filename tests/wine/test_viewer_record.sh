#!/usr/bin/env bash
# Recording from live on the stand-in platform: the "Record..." dialog, a
# recording that stops at its time ("Recording Now" counts up, the event log
# gets its entry, live television comes back), and recordings ended by STOP
# (button and menu), key U, EXIT, Esc, the close box and the scheduler's
# WM_CLOSE, each with its entry in the event log. Every recording is whole:
# ffprobe reads it, the stand-in source plays it to its end, and its length
# is the elapsed clock within a second.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT


antenna=$(make_antenna "$TEST_WORK")
install_platform "$antenna"
virtual_tuner "$tuner" "$capture"
register_stream_buffer
record_dir="$TEST_WORK/recordings"
mkdir -p "$record_dir" "$TEST_WORK/buffer"
set_recording_folders "$record_dir" "$TEST_WORK/buffer"

text() { harness_driver text "$1" "$2" | tr -d '\r'; }
name_pattern='^Ch10-1_(Sun|Mon|Tue|Wed|Thu|Fri|Sat)(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)[0-9]{1,2}20[0-9]{2}_(0[1-9]|1[0-2])[0-5][0-9][0-5][0-9](AM|PM)\.dvr-ms$'

# newest_recording: the name of the newest file in the record folder.
newest_recording() { ls -t "$record_dir" | grep -v '^stub_' | head -1; }

play_exe=$(harness_exe telvrecordingplay) || fail "no telvrecordingplay.exe"

# about SECONDS EXPECTED [SLACK]: a length against what was expected: at
# most a second less, at most SLACK + 1 more. Against the elapsed clock of
# "Recording Now" (which counts from the recorder's first picture and rounds
# to the nearest second), SLACK is the time from the last reading of the
# clock until the recording had surely ended.
about() { awk -v d="$1" -v e="$2" -v s="${3:-0}" 'BEGIN { exit !(d > e - 1 && d < e + s + 1) }'; }
# since_last_read: seconds from the last reading of the clock until now.
since_last_read() { awk -v a="$last_read_at" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }

tscheck_exe=$harness_top/build/native/recorder/telvtscheck
[ -x "$tscheck_exe" ] || fail "no native telvtscheck: build the native tree first"

# assert_whole FILE SECONDS SLACK: the recording, named as the viewer names
# them, has no gap (every packet in sync, no continuity counter skipped, no
# PCR gap), is SECONDS long (see about) for ffprobe, and the stand-in source
# plays it from start to end for as long.
assert_whole() {
  local file=$1 expected=$2 slack=$3 duration played checked
  [[ $(basename "$file") =~ $name_pattern ]] || fail "recording name $(basename "$file")"
  checked=$("$tscheck_exe" "$file") || fail "$(basename "$file") is not whole: $checked"
  echo "$(basename "$file"): $checked"
  duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$file") ||
    fail "ffprobe cannot read $file"
  echo "$(basename "$file"): $duration s for ffprobe, elapsed clock $expected s read $slack s before the end"
  # The clock starts at the first picture that the recorder reports, after
  # the file's first packets: by up to a picture group and the panel's poll,
  # and more on a loaded machine, so one more second is allowed for it.
  about "$duration" "$expected" "$(awk -v s="$slack" 'BEGIN { print s + 1 }')" ||
    fail "$file lasts $duration s for ffprobe, not $expected s"
  played=$(wine "$play_exe" "$(winepath -w "$file")" | tr -d '\r') ||
    fail "the stand-in source does not play $file to its end: $played"
  echo "$(basename "$file"): $(sed -n 's/^duration=//p' <<<"$played") s for the stand-in source"
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
  last_read_at=$(date +%s.%N)
  last_elapsed=$(elapsed_seconds)
  [ "$last_elapsed" -ge "$1" ]
}
# follow_elapsed: reads the elapsed clock until the window has gone.
follow_elapsed() {
  local e at
  while at=$(date +%s.%N) && e=$(elapsed_seconds 2>/dev/null) && [ -n "$e" ]; do
    last_elapsed=$e last_read_at=$at
    sleep 0.2
  done
}

# assert_now_placed: "Recording Now" lies wholly on the 1280 x 1024 screen,
# below or above the panel, its left edge with the panel's where the screen
# allows. The panel's own place (three quarters down the screen) leaves no
# room below it.
assert_now_placed() {
  local l t r b pl pt pr pb
  # Placed while it opens, before it is shown.
  drv wait-shown "Recording Now" 20 >/dev/null
  read -r l t r b <<<"$(rect_of "Recording Now")"
  read -r pl pt pr pb <<<"$(rect_of "$panel")"
  echo "panel at $pl $pt $pr $pb, Recording Now at $l $t $r $b"
  ((l >= 0 && t >= 0 && r <= 1280 && b <= 1024)) || fail "Recording Now runs off the screen: $l $t $r $b"
  ((t >= pb || b <= pt)) || fail "Recording Now covers the panel ($pl $pt $pr $pb): $l $t $r $b"
  ((l == pl || pl < 0 || pl + r - l > 1280)) || fail "Recording Now is not in line with the panel: $l, $pl"
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
  assert_now_placed
  assert_eq "ON" "$(text "$panel" 1026)" "record state while recording"
  assert_eq "1:00:00" "$(text "Recording Now" 4011)" "planned duration"
  harness_wait_until 60 recorded_for "$seconds" || fail "the elapsed clock does not count"
  $stopper
  drv wait-gone "Recording Now" 30
  assert_whole "$record_dir/$(newest_recording)" "$last_elapsed" "$(since_last_read)"
}

dir=$(case_folder record)
cp "$TEST_WORK/channels.txt" "$dir/"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WTST 10-1" 10

# --- STOP (the window's button and the record menu's), key U ---
# Before the first: a right double click on the picture parks the panel and
# hides "Recording Now" with it; another brings both back.
now_visible() {
  harness_driver list | tr -d '\r' | awk -F'\t' -v want="$1" \
    '$5 == "Recording Now" { found = 1; if ($2 != want) exit 1 } END { exit !found }'
}
stop_by_button() {
  drv post "$video" 0x206  # WM_RBUTTONDBLCLK
  harness_wait_until 10 now_visible 0 || fail "Recording Now stays on screen with the panel parked"
  take_screenshot panel-parked >/dev/null
  drv post "$video" 0x206
  harness_wait_until 10 now_visible 1 || fail "Recording Now does not come back with the panel"
  recorded_for 0  # the clock as the recording ends
  drv click "Recording Now" 4021
}
# VIEWER_RECORD_SECONDS makes the first recording longer, to measure a
# long recording on a loaded machine.
record_then stop_by_button "${VIEWER_RECORD_SECONDS:-5}"
stop_by_menu() { drv command "$panel" 40003; }
record_then stop_by_menu 4
stop_by_key() { drv key "$panel" U; }
record_then stop_by_key 4

# --- "Record...": no duration refused; one minute records to the next
# minute's turn at most (the stop time) ---
drv command "$panel" 40404
drv wait "Record..." 20 >/dev/null
path=$(text "Record..." 4001)
[[ $path == "Z:${record_dir//\//\\}\\"* ]] || fail "SAVE FILE AS: $path"
[[ ${path##*\\} =~ $name_pattern ]] || fail "file name in SAVE FILE AS: $path"
drv click "Record..." 1
expect_box plain "NO DURATION SPECIFIED"
drv set-text "Record..." 4005 1
assert_eq "DURATION: 0:01" "$(text "Record..." 4007)" "duration label"
# A one-minute recording ends at the next turn of the minute: start it in
# the first half of a minute, so that the window is read before it closes.
early_in_minute() { ((10#$(date +%S) <= 25)); }
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
assert_whole "$record_dir/$(newest_recording)" "$last_elapsed" "$(since_last_read)"
# Its entry follows those of STOP, the menu's STOP and U.
stopped_entries() {
  [ "$(tr -d '\r' <"$dir/scheduler.txt" |
    grep -cE '^RECORDING STOPPED: [0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}$')" -eq 4 ]
}
harness_wait_until 10 stopped_entries || fail "no RECORDING STOPPED entry in scheduler.txt for the stop time"
assert_eq "OFF" "$(text "$panel" 1026)" "record state after the stop time"
png=$(take_screenshot live-after-recording "$video")
[ "$(identify -format '%k' "$png")" -ge 8 ] || fail "no live picture after the recording ($png)"

# --- EXIT, Esc, the close box and the scheduler's WM_CLOSE end the viewer
# and the recording whole, each with its RECORDING STOPPED entry ---
stopped_count() {
  tr -d '\r' <"$dir/scheduler.txt" | grep -cE '^RECORDING STOPPED: [0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}$'
}
# record_until_exit ENDER: a recording from the REC button, ended after 4 s
# by ENDER, which ends the viewer; the recording and its entry are checked.
record_until_exit() {
  local before
  before=$(stopped_count)
  drv click "$panel" 1025
  drv wait "Recording Now" 30 >/dev/null
  harness_wait_until 60 recorded_for 4 || fail "the elapsed clock does not count"
  $1
  expect_exit
  assert_eq "$((before + 1))" "$(stopped_count)" "RECORDING STOPPED entries after $1"
  assert_whole "$record_dir/$(newest_recording)" "$last_elapsed" "$(since_last_read)"
}
restart_viewer() {
  start_viewer "$dir"
  drv wait "$panel" 60 >/dev/null
  drv wait-text "$panel" 1004 "WTST 10-1" 10
}
exit_by_key() { drv key "$panel" Q; }
escape_by_key() { drv key "$panel" ESCAPE; }
close_by_box() { drv post "$panel" 0x112 0xF060; }  # WM_SYSCOMMAND, SC_CLOSE
scheduler_close() { drv post "$panel" 0x10; }    # WM_CLOSE, as the scheduler sends it
record_until_exit exit_by_key
restart_viewer
record_until_exit escape_by_key
restart_viewer
record_until_exit close_by_box
restart_viewer
record_until_exit scheduler_close
