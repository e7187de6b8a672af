#!/usr/bin/env bash
# A silent recording started by the scheduler, on the real clock: a RECORD-
# SILENT event scheduled about a minute ahead in TelvantisSchedTS with the
# viewer open. The viewer is warned and closed, the transport-stream recorder
# starts a second before the start, records the event's channel into the
# event's folder, hides after 8 s, stops at the end minute and logs both; the
# scheduler's tray icon shows the recording icon meanwhile; ffprobe reads the
# file as the channel's programs.
set -euo pipefail
[ -z "${RECORDER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_lib.sh"

viewer_exe=$(harness_exe Telvantis) || fail "no Telvantis.exe"
scheduler_exe=$(harness_exe TelvantisSchedTS) || fail "no TelvantisSchedTS.exe"
recorder_exe=$(harness_exe TelvantisSRTS) || fail "no TelvantisSRTS.exe"
panel="Telvantis- $rec_tuner"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

default_antenna_platform

# --- The scheduler, the viewer and the recorder share one folder ---
dir=$(recorder_case ts "$channels")
cp "$recorder_exe" "$dir/"  # the scheduler starts it from its folder
printf '20\n125\n0\n1155\n582\n300\n600\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0' \
  >"$dir/config.txt"
harness_start "$dir" "$viewer_exe"
viewer=$HARNESS_PID
drv wait-shown "$panel" 90 >/dev/null
drv wait-text "$panel" 1004 "WSVN 7-1" 30

# RECORD- SILENT on 33-2 for one minute; its warning comes at second 40 of
# the minute before, which must leave the scheduler time to start.
start=$(( ($(date +%s) / 60 + 1) * 60 ))
[ $(( start - $(date +%s) )) -ge 32 ] || start=$(( start + 60 ))
end=$(( start + 60 ))
read -r dow month day year hour minute < <(date -d "@$start" '+%u %-m %-d %Y %-H %-M')
read -r end_hour end_minute < <(date -d "@$end" '+%-H %-M')
printf '1\n%s %s %s %s 33 33 2 %s %s %s %s 1 0 0\n%s\n' \
  "$(( dow % 7 + 1 ))" "$month" "$day" "$year" "$hour" "$minute" "$end_hour" "$end_minute" \
  "$(windows_folder "$dir/rec")" >"$dir/schedule.txt"
harness_start "$dir" "$scheduler_exe"
scheduler=$HARNESS_PID
drv wait "$ts_scheduler" 30 >/dev/null

harness_wait_until 30 tray_normal || fail "the tray shows no normal icon"

# Twenty seconds before: the viewer is warned; five seconds before it is
# closed, with the warning; a second before the start the recorder starts.
drv wait "SCHEDULER EVENT" 150 >/dev/null
warned=$(date +%s)
[[ $(drv children "SCHEDULER EVENT") == *"SILENT RECORD EVENT: Telvantis Is Open-"* ]] ||
  fail "the warning: $(drv children "SCHEDULER EVENT")"
[ "$warned" -ge $(( start - 22 )) ] && [ "$warned" -le $(( start - 14 )) ] ||
  fail "warned at $(date -d "@$warned" +%T) for an event at $(date -d "@$start" +%T)"
png=$(take_screenshot warning)
assert_image_not_blank "$png"
# The viewer is told to close 5 s before; taking its graph down may take a
# few seconds on a loaded machine.
harness_wait_exit "$viewer" 30 >/dev/null || fail "the viewer was not closed"
closed=$(date +%s)
[ "$closed" -ge $(( start - 6 )) ] && [ "$closed" -le $(( start + 5 )) ] ||
  fail "the viewer closed at $(date -d "@$closed" +%T) for an event at $(date -d "@$start" +%T)"
drv wait-gone "SCHEDULER EVENT" 10
# The recorder's window comes first; its graph runs (and the start is logged)
# a few seconds later on a loaded machine.
drv wait "$ts_title" 30 >/dev/null
shown=$(date +%s)
[ "$shown" -ge $(( start - 3 )) ] && [ "$shown" -le $(( start + 3 )) ] ||
  fail "the recorder started at $(date -d "@$shown" +%T) for an event at $(date -d "@$start" +%T)"
harness_wait_until 30 grep -qs '^START SILENT-RECORD: ' "$dir/scheduler.txt" || fail "no start logged"
began=$(log_stamp_seconds "$dir" "START SILENT-RECORD: ")
[ "$began" -ge $(( start - 3 )) ] && [ "$began" -le $(( start + 8 )) ] ||
  fail "the recording began at $(date -d "@$began" +%T) for an event at $(date -d "@$start" +%T)"
file=$(recording_in "$dir")
[[ $(basename "$file") =~ ^Ch33-2_[A-Z][a-z]{2}[A-Z][a-z]{2}[0-9]{5,6}_[01][0-9][0-5][0-9][0-5][0-9][AP]M\.ts$ ]] ||
  fail "recording name $(basename "$file")"
png=$(take_screenshot recorder "$ts_title")
assert_image_not_blank "$png"

# The window hides after 8 s; the tray shows the recording icon meanwhile.
harness_wait_until 30 is_hidden "$ts_title" || fail "the recorder's window did not hide"
elapsed=$(drv text "$ts_title" 1014 | tr -d '\r')
[[ $elapsed =~ ^0:00:(0[89]|1[0-9])$ ]] || fail "hidden at $elapsed, not at 0:00:08"
harness_wait_until 20 tray_recording ||
  fail "the tray icon did not change for the recording"
png=$(take_screenshot recording)

# The end minute: stopped, logged, the icon back, the file the channel's.
harness_wait_until 100 eval '[ -z "$(visible "$ts_title")" ]' || fail "the recorder did not stop"
stop=$(log_stamp_seconds "$dir" "STOPPED SILENT-RECORD: ")
assert_eq "$end_hour $end_minute" "$(date -d "@$stop" '+%-H %-M')" "stop minute"
[ "$(date -d "@$stop" +%-S)" -le 2 ] || fail "stopped $(date -d "@$stop" +%-S) s into the end minute"
harness_wait_until 20 tray_normal ||
  fail "the tray icon did not come back after the recording"
[ ! -e "$dir/schedule.txt" ] || [ "$(head -1 "$dir/schedule.txt" | tr -d '\r')" = 0 ] ||
  fail "the one-time event stayed in schedule.txt"
assert_programs "$file" 3
size=$(stat -c %s "$file")
[ $((size % 188)) -eq 0 ] || fail "the recording ends inside a packet ($size bytes)"

drv command "$ts_scheduler" 40005
assert_status 0 harness_wait_exit "$scheduler" 30
