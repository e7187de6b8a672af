#!/usr/bin/env bash
# A running recording keeps its channel and is never dropped for another:
# while a recording runs, the channel keys of both windows, the side mouse
# buttons and the channel label's menu change nothing and the caption says
# "RECORDING"; the scheduler's START RECORD is refused in scheduler.txt and
# on screen while that recording goes on. After STOP the channel keys work
# again, and a START RECORD while timeshifting ends the timeshift and
# records.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

six_channel_platform
register_stream_buffer
record_dir="$TEST_WORK/recordings"
mkdir -p "$record_dir" "$TEST_WORK/buffer"
set_recording_folders "$record_dir" "$TEST_WORK/buffer"

text() { harness_driver text "$1" "$2" | tr -d '\r'; }
newest_recording() { ls -t "$record_dir" | grep -v '^stub_' | head -1; }

# scheduled_start: what the scheduler does in an event's start minute: the
# event (from now until three minutes on, when done KEEP OPEN) in
# reclive.txt, then "TELVANTISSCHED START RECORD".
scheduled_start() {
  local end
  end=$(date -d '+3 min' '+%-H %-M')
  printf '%s %s 1 ' "$(date '+%-H %-M')" "$end" >"$dir/reclive.txt"
  drv post-registered "$panel" "TELVANTISSCHED START RECORD" 0 0
}

# held ACTION...: the action changes no channel, and the caption
# "RECORDING" shows for its three seconds; with `shot` set, a screenshot of
# it by that name.
shot=
held() {
  "$@"
  expect_caption "RECORDING"
  [ "$(visible "$osd")" = 1 ] || fail "no caption shown after: $*"
  if [ -n "$shot" ]; then
    assert_image_not_blank "$(take_screenshot "$shot")"
    shot=
  fi
  harness_wait_until 20 osd_hidden || fail "the caption stays after: $*"
  assert_eq "WSVN 7-1" "$(text "$panel" 1004)" "channel after: $*"
}

# elapsed: the "Recording Now" window's elapsed clock in seconds.
elapsed() {
  local t
  t=$(text "Recording Now" 4019) || return 1
  [ "$t" != "00:00" ] || { echo 0; return; }
  echo $((${t%%:*} * 3600 + 10#$(cut -d: -f2 <<<"$t") * 60 + 10#${t##*:}))
}
elapsed_past() { [ "$(elapsed)" -gt "$1" ]; }
stopped_entries() {
  tr -d '\r' <"$dir/scheduler.txt" | grep -cE '^RECORDING STOPPED: [0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}$'
}

start_case hold
harness_wait_until 20 osd_hidden || fail "the caption of the start stays"

# --- A recording from the key L holds the channel: key W ---
drv key "$panel" L
drv wait "Recording Now" 30 >/dev/null
recording=$(newest_recording)
[[ $recording == Ch7-1_*.dvr-ms ]] || fail "recording name $recording"
harness_wait_until 30 elapsed_past 1 || fail "the elapsed clock does not count"
shot=recording-caption
held drv key "$panel" W

# --- START RECORD while it records: refused, the recording goes on ---
scheduled_start
expect_caption "SCHEDULED RECORDING REFUSED"
[ "$(visible "$osd")" = 1 ] || fail "no caption shown for the refusal"
png=$(take_screenshot refused-caption)
assert_image_not_blank "$png"
refused_entry() {
  [ -f "$dir/scheduler.txt" ] && tr -d '\r' <"$dir/scheduler.txt" |
    grep -qE '^RECORD LIVE REFUSED, ALREADY RECORDING: [0-9]{1,2}/[0-9]{1,2}/20[0-9]{2}-[0-9]{1,2}:[0-9]{1,2}:[0-9]{1,2}$'
}
harness_wait_until 10 refused_entry || fail "no refusal in scheduler.txt: $(cat "$dir/scheduler.txt" 2>/dev/null)"
harness_wait_until 10 test ! -e "$dir/reclive.txt" || fail "reclive.txt was left behind"
was=$(elapsed)
harness_wait_until 10 elapsed_past "$was" || fail "the recording stopped with the refusal"
assert_eq "$recording" "$(newest_recording)" "the recording after the refusal"
assert_eq "ON" "$(text "$panel" 1026)" "record state after the refusal"

# --- Every other way of changing the channel holds too ---
held drv key "$video" W
held drv key "$video" X
held drv post "$panel" 0x020B 0x10000   # WM_XBUTTONDOWN, side button 1
held drv post "$panel" 0x020B 0x20000   # side button 2
held drv post "$video" 0x020B 0x20000   # on the picture
held drv command "$panel" 1004          # the channel label's menu
held drv key "$panel" S
held drv key "$panel" X
menu_open() { harness_driver list | awk -F'\t' '$2 == 1 && $4 == "#32768" { found = 1 } END { exit !found }'; }
! menu_open || fail "the channel menu opened while recording"

# --- After STOP the channel changes again ---
drv key "$panel" U
drv wait-gone "Recording Now" 30
assert_eq 1 "$(stopped_entries)" "RECORDING STOPPED entries"
drv key "$panel" W
expect_channel "WSVN2 7-2"
drv key "$panel" S
expect_channel "WSVN 7-1"

# --- START RECORD while timeshifting: timeshift ends, the recording runs ---
drv click "$panel" 1013
drv wait-text "$panel" 1020 "ON+PAUSE" 30
scheduled_start
drv wait "Recording Now" 30 >/dev/null
drv wait-text "$panel" 1026 "ON" 10
assert_eq "OFF" "$(text "$panel" 1020)" "timeshift state while the scheduled recording runs"
harness_wait_until 10 test ! -e "$dir/reclive.txt" || fail "reclive.txt was left behind"
harness_wait_until 30 elapsed_past 1 || fail "the elapsed clock of the scheduled recording does not count"
png=$(take_screenshot scheduled-after-timeshift)
assert_image_not_blank "$png"
[[ $(newest_recording) == Ch7-1_*.dvr-ms && $(newest_recording) != "$recording" ]] ||
  fail "scheduled recording $(newest_recording)"
drv key "$panel" U
drv wait-gone "Recording Now" 30
assert_eq 2 "$(stopped_entries)" "RECORDING STOPPED entries"

drv key "$panel" Q
expect_exit
