#!/usr/bin/env bash
# The transport-stream silent recorder on the stand-in platform, without a
# scheduler: the lock switch, a recording by hand refused without a duration,
# the window and its about box, a scheduled recording of a SHUTDOWN event to
# its end minute (file, messages, log, hiding), the same event closed early,
# a hand-off file too old to use, and a missing dump filter.
set -euo pipefail
[ -z "${RECORDER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_lib.sh"

sink_ax=$(harness_exe telvantissink.ax) || fail "no telvantissink.ax"
cleanup() {
  standin_register "$sink_ax" >/dev/null 2>&1 || true
  wine "$devices_exe" clear >/dev/null 2>&1 || true
}
trap cleanup EXIT

default_antenna_platform

# --- Without the lock switch the program ends at once, without a window ---
dir=$(recorder_case no-switch "$channels")
start_recorder "$dir" TelvantisSRTS
expect_recorder_exit 30
start_recorder "$dir" TelvantisSRTS /locktelvantissr
expect_recorder_exit 30
[ -z "$(visible "$ts_title")" ] || fail "a window opened without the lock switch"

# --- By hand: no duration, the window, the about box; OK ends it ---
dir=$(recorder_case by-hand "$channels")
start_watcher "$dir" "$ts_scheduler"
start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
drv wait "$ts_title" 60 >/dev/null
assert_eq "WSVN  7-1" "$(drv text "$ts_title" 1001 | tr -d '\r')" "first channel"
assert_eq "--:--" "$(drv text "$ts_title" 1003 | tr -d '\r')" "stop time"
assert_eq "--:--:--" "$(drv text "$ts_title" 1004 | tr -d '\r')" "duration"
assert_eq "00:00" "$(drv text "$ts_title" 1014 | tr -d '\r')" "elapsed time"
png=$(take_screenshot by-hand "$ts_title")
assert_image_not_blank "$png"
drv click "$ts_title" 1010
expect_box exclamation "NO DURATION SPECIFIED"
drv post "$ts_title" 0x0112 16  # the system menu's about item
drv wait "About SilentRecord" 20 >/dev/null
[[ $(drv children "About SilentRecord") == *"Telvantis Silent Record V 1.370"* ]] ||
  fail "the about box does not show its version"
drv click "About SilentRecord" 1
drv wait-gone "About SilentRecord" 20
drv click "$ts_title" 1
expect_recorder_exit 30
assert_eq "" "$(messages "$dir")" "messages of a recorder that never recorded"
stop_watcher "$ts_scheduler"

# --- A scheduled SHUTDOWN event recorded to its end minute ---
dir=$(recorder_case scheduled "$channels")
start_watcher "$dir" "$ts_scheduler"
# At least 20 s of recording, so that the window is seen before it hides.
[ "$(date +%-S)" -lt 40 ] || sleep $((61 - $(date +%-S)))
end=$(end_after 1)
write_event "$dir" "7 7 1" "$end" 2
start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
drv wait-shown "$ts_title" 60 >/dev/null
assert_eq 1 "$(visible "$ts_title")" "window visible at the start"
harness_wait_until 30 test -s "$dir/messages.txt" || fail "no start message"
assert_eq "START/STOP 1 1;" "$(messages "$dir")" "start of a scheduled recording"
[ ! -e "$dir/silentevent.txt" ] || fail "silentevent.txt was not deleted"
file=$(recording_in "$dir")
[[ $(basename "$file") =~ ^Ch7-1_[A-Z][a-z]{2}[A-Z][a-z]{2}[0-9]{5,6}_[01][0-9][0-5][0-9][0-5][0-9][AP]M\.ts$ ]] ||
  fail "recording name $(basename "$file")"
assert_eq "$(windows_folder "$dir/rec")$(basename "$file")" "$(drv text "$ts_title" 1012 | tr -d '\r')" "FILENAME"
assert_eq "$(date -d "$(echo "$end" | tr ' ' ':')" '+%-I:%M %p')" "$(drv text "$ts_title" 1003 | tr -d '\r')" "stop time"
harness_wait_until 30 is_hidden "$ts_title" || fail "the window did not hide"
elapsed=$(drv text "$ts_title" 1014 | tr -d '\r')
[[ $elapsed =~ ^0:00:(0[89]|1[0-9])$ ]] || fail "hidden at $elapsed, not at 0:00:08"
expect_recorder_exit 100
assert_eq "START/STOP 1 1;SHUTDOWN 0 0;START/STOP 0 1;" "$(messages "$dir")" "messages"
start=$(log_stamp_seconds "$dir" "START SILENT-RECORD: ")
stop=$(log_stamp_seconds "$dir" "STOPPED SILENT-RECORD: ")
assert_eq "$end" "$(date -d "@$stop" '+%-H %-M')" "stop minute"
[ "$(date -d "@$stop" +%-S)" -le 2 ] || fail "stopped $(date -d "@$stop" +%-S) s into the end minute"
size=$(stat -c %s "$file")
[ $((size % 188)) -eq 0 ] || fail "the recording ends inside a packet ($size bytes)"
# The stream's rate is 19392658 bit/s; the recording holds the time it ran.
expected=$(( (stop - start) * 19392658 / 8 ))
[ "$size" -gt $((expected * 90 / 100)) ] || fail "$size bytes for $((stop - start)) s"
assert_programs "$file" 2

# --- The same event closed by the scheduler before its end: no shutdown ---
dir=$(recorder_case closed "$channels")
start_watcher "$dir" "$ts_scheduler"
write_event "$dir" "7 7 -1" "$(end_after 3)" 2
start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
harness_wait_until 60 test -s "$dir/messages.txt" || fail "no start message"
file=$(recording_in "$dir")
harness_wait_until 30 grown_past "$file" 1000000 || fail "nothing recorded"
drv post "$ts_title" 16  # WM_CLOSE
expect_recorder_exit 30
assert_eq "START/STOP 1 1;START/STOP 0 1;" "$(messages "$dir")" "messages of a closed recording"
grep -q '^STOPPED SILENT-RECORD: ' "$dir/scheduler.txt" || fail "the stop was not logged"
assert_programs "$file" 2
stop_watcher "$ts_scheduler"

# --- A hand-off file left from a recorder that never started ---
dir=$(recorder_case stale "$channels")
start_watcher "$dir" "$ts_scheduler"
write_event "$dir" "7 7 1" "$(end_after 2)" 0
touch -d '-4 minutes' "$dir/silentevent.txt"
start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
drv wait "$ts_title" 60 >/dev/null
[ -f "$dir/silentevent.txt.old" ] && [ ! -e "$dir/silentevent.txt" ] ||
  fail "the old hand-off file was not moved aside"
grep -q '^OLD SILENTEVENT.TXT NOT USED, MOVED TO SILENTEVENT.TXT.OLD: ' "$dir/scheduler.txt" ||
  fail "the old hand-off file was not logged"
sleep 2
assert_eq "" "$(messages "$dir")" "an old event must not start a recording"
assert_eq 1 "$(visible "$ts_title")" "the window waits for the user"
[ -z "$(ls "$dir/rec")" ] || fail "something was recorded"
drv post "$ts_title" 16
expect_recorder_exit 30
assert_eq "START/STOP 0 1;" "$(messages "$dir")" "messages of a closed idle recorder"
stop_watcher "$ts_scheduler"

# --- No dump filter: told even to a scheduled recording, and the scheduler hears the stop ---
standin_register /u "$sink_ax" >/dev/null || fail "cannot unregister the dump filter"
dir=$(recorder_case no-dump "$channels")
start_watcher "$dir" "$ts_scheduler"
write_event "$dir" "7 7 1" "$(end_after 2)" 2
start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
expect_box exclamation "CAN'T ADD TSDUMP"
expect_recorder_exit 30
assert_eq "START/STOP 0 1;" "$(messages "$dir")" "messages of a failed build"
grep -q '^STOPPED SILENT-RECORD: ' "$dir/scheduler.txt" || fail "the stop was not logged"
! grep -q '^START SILENT-RECORD: ' "$dir/scheduler.txt" || fail "a start was logged"
stop_watcher "$ts_scheduler"
