#!/usr/bin/env bash
# The silent recorders' files under stress: a transport-stream recorder
# killed in the middle of a recording leaves a file valid to its last whole
# packet and the next event still records; a full disk ends the recording as
# its end minute would (logged, reported, the file whole); the stream-buffer
# recorder likewise, killed or on a full disk; and a two-minute recording at the
# broadcast rate loses no packet: no continuity or clock fault (our own check
# and ffprobe) and the size of the time recorded at the stream's rate.
set -euo pipefail
[ -z "${RECORDER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT
rate=19392658

# RF 7 of the default antenna, long enough that two minutes of it never loop
# (a loop starts the counters and the clock afresh).
antenna="$TEST_WORK/antenna"
mkdir -p "$antenna"
"$harness_top/build/native/tools/tsgen" --out "$antenna/rf7.ts" --seconds 150 --tsid 7 \
  --program 1:0x30:1920x1080 --program 2:0x40:720x480 >/dev/null || fail "tsgen failed"
printf 'RF 7 SIGNAL 80 FILE rf7.ts\nCHANNEL 7 1 PROGRAM 1\nCHANNEL 7 2 PROGRAM 2\n' >"$antenna/antenna.txt"
printf '2\nWSVN 7 7 1\nWSVN2 7 7 2\n' >"$antenna/channels.txt"
recorder_platform "$antenna/antenna.txt"

# check FILE: our check's figures, in CHECK; its exit status is returned.
check() { CHECK=$("$tscheck_exe" "$1"); }
figure() { echo "$CHECK" | tr ' ' '\n' | sed -n "s/^$1=//p"; }

# --- Killed in the middle of a recording; the next event still runs ---
dir=$(recorder_case killed "$antenna/channels.txt")
start_watcher "$dir" "$ts_scheduler"
write_event "$dir" "7 7 1" "$(end_after 3)" 0
start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
harness_wait_until 60 test -s "$dir/messages.txt" || fail "no start message"
file=$(recording_in "$dir")
harness_wait_until 30 grown_past "$file" 4000000 || fail "nothing recorded"
kill -KILL "$RECORDER_PID"
harness_wait_exit "$RECORDER_PID" 20 >/dev/null || true
check "$file" || [ "$(figure trailing)" != 0 ] || fail "killed recording: $CHECK"
for fault in sync continuity pcrgaps; do
  assert_eq 0 "$(figure $fault)" "$fault faults of the killed recording ($CHECK)"
done
assert_programs "$file" 2
rm -f "$dir/messages.txt"
write_event "$dir" "7 7 1" "$(end_after 3)" 0
rm -f "$file"
start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
harness_wait_until 60 test -s "$dir/messages.txt" || fail "the next event did not start"
file=$(recording_in "$dir")
harness_wait_until 30 grown_past "$file" 1000000 || fail "the next event recorded nothing"
drv post "$ts_title" 16
expect_recorder_exit 30
assert_eq "START/STOP 1 1;START/STOP 0 1;" "$(messages "$dir")" "messages of the next event"
stop_watcher "$ts_scheduler"

# --- A full disk: 4 MiB of file allowed (writes past it fail instead of
# ending the process) ---
dir=$(recorder_case disk-full "$antenna/channels.txt")
start_watcher "$dir" "$ts_scheduler"
write_event "$dir" "7 7 1" "$(end_after 3)" 2
HARNESS_FILE_LIMIT=4096 start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
expect_recorder_exit 90
assert_eq "START/STOP 1 1;SHUTDOWN 0 0;START/STOP 0 1;" "$(messages "$dir")" "messages after a full disk"
grep -q '^RECORDING FILE WRITE FAILED: ' "$dir/scheduler.txt" || fail "the write failure was not logged"
grep -q '^STOPPED SILENT-RECORD: ' "$dir/scheduler.txt" || fail "the stop was not logged"
file=$(recording_in "$dir")
[ "$(stat -c %s "$file")" -le $((4096 * 1024)) ] || fail "the file is larger than the disk"
check "$file" || fail "recording on a full disk: $CHECK"
assert_programs "$file" 2
stop_watcher "$ts_scheduler"

# --- The stream-buffer recorder: killed, its recording plays to its last
# whole unit; a full disk (the engine's write-failure event) ends it as the
# transport-stream recorder's does, and what was written plays ---
sbe_exe=$(harness_exe standinsbe) || fail "no standinsbe.exe"
sbe_recording() { local files=("$1"/rec/*.dvr-ms); [ -f "${files[0]}" ] && echo "${files[0]}"; }
sbe_grown() { local file; file=$(sbe_recording "$1") && grown_past "$file" "$2"; }
plays_to_end() {
  wine "$sbe_exe" play "$(winepath -w "$1")" -1 | tr -d '\r' | grep -qx 'complete=1'
}
dir=$(recorder_case sr-killed "$antenna/channels.txt")
start_watcher "$dir" "$sr_scheduler"
write_event "$dir" "7 7 1" "$(end_after 3)" 0
start_recorder "$dir" TelvantisSR /LOCKTELVANTISSR
harness_wait_until 60 test -s "$dir/messages.txt" || fail "no start message from TelvantisSR"
harness_wait_until 30 sbe_grown "$dir" 4000000 || fail "TelvantisSR recorded nothing"
kill -KILL "$RECORDER_PID"
harness_wait_exit "$RECORDER_PID" 20 >/dev/null || true
plays_to_end "$(sbe_recording "$dir")" || fail "the killed stream-buffer recording does not play to its end"
stop_watcher "$sr_scheduler"

dir=$(recorder_case sr-disk-full "$antenna/channels.txt")
start_watcher "$dir" "$sr_scheduler"
write_event "$dir" "7 7 1" "$(end_after 3)" 2
HARNESS_FILE_LIMIT=4096 start_recorder "$dir" TelvantisSR /LOCKTELVANTISSR
expect_recorder_exit 90
assert_eq "START/STOP 1 1;SHUTDOWN 0 0;START/STOP 0 1;" "$(messages "$dir")" "TelvantisSR's messages after a full disk"
grep -q '^RECORDING FILE WRITE FAILED: ' "$dir/scheduler.txt" || fail "TelvantisSR did not log the write failure"
grep -q '^STOPPED SILENT-RECORD: ' "$dir/scheduler.txt" || fail "TelvantisSR did not log the stop"
file=$(sbe_recording "$dir") || fail "no stream-buffer recording in $dir/rec"
[ "$(stat -c %s "$file")" -le $((4096 * 1024)) ] || fail "the stream-buffer recording is larger than the disk"
plays_to_end "$file" || fail "the stream-buffer recording of a full disk does not play to its end"
# The recording object went before the sink, as the platform wants.
! grep -q "released before its recording object" "$dir/TelvantisSR.out" ||
  fail "TelvantisSR released the stream-buffer sink before its recording object"
stop_watcher "$sr_scheduler"

# --- Two minutes at the broadcast rate ---
dir=$(recorder_case two-minutes "$antenna/channels.txt")
start_watcher "$dir" "$ts_scheduler"
while [ "$(date +%-S)" -gt 5 ]; do sleep 1; done
write_event "$dir" "7 7 1" "$(end_after 2)" 0
start_recorder "$dir" TelvantisSRTS /LOCKTELVANTISSR
expect_recorder_exit 170
assert_eq "START/STOP 1 1;START/STOP 0 1;" "$(messages "$dir")" "messages"
file=$(recording_in "$dir")
check "$file" || fail "two-minute recording: $CHECK"
echo "two-minute recording: $CHECK"
start=$(log_stamp_seconds "$dir" "START SILENT-RECORD: ")
stop=$(log_stamp_seconds "$dir" "STOPPED SILENT-RECORD: ")
size=$(stat -c %s "$file")
expected=$(( (stop - start) * rate / 8 ))
echo "recorded $((stop - start)) s: $size bytes, $expected expected at $rate bit/s"
awk -v s="$size" -v e="$expected" 'BEGIN { d = (s - e) / e; if (d < 0) d = -d; exit !(d <= 0.02) }' ||
  fail "$size bytes are not within 2 % of $expected"
awk -v r="$(figure rate)" -v e="$rate" 'BEGIN { d = (r - e) / e; if (d < 0) d = -d; exit !(d <= 0.001) }' ||
  fail "the recorded stream's rate is $(figure rate) bit/s"
# ffprobe: every packet of the file read without an error, both programs there.
errors=$(ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$file" 2>&1 >/dev/null)
[ -z "$errors" ] || fail "ffprobe: $errors"
assert_programs "$file" 2
stop_watcher "$ts_scheduler"
