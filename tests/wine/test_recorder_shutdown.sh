#!/usr/bin/env bash
# A stream-buffer recording that asks for the computer to be shut down, with
# TelvantisSched listening: TelvantisSR records a scheduled SHUTDOWN event to
# its end minute (the scheduler's tray shows the recording icon meanwhile),
# the stand-in stream-buffer source plays the recording for the time
# recorded, and 240 s after the recorder's request the scheduler runs the
# shutdown command, once: a stand-in program under its name that notes how it
# was started.
set -euo pipefail
[ -z "${RECORDER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/recorder_lib.sh"

play_exe=$(harness_exe telvrecordingplay) || fail "no telvrecordingplay.exe"
standin_exe=$(harness_exe telvstandinprogram) || fail "no telvstandinprogram.exe"
scheduler_exe=$(harness_exe TelvantisSched) || fail "no TelvantisSched.exe"

# The prefix's shutdown command is the stand-in for this test only: the
# prefix serves the whole run, so the real one is put back whatever happens.
# Wine would prefer its builtin command to the file; the scheduler (and so
# what it starts) is told to take the file.
system32="$WINEPREFIX/drive_c/windows/system32"
cp -p "$system32/shutdown.exe" "$TEST_WORK/shutdown.exe.real" || fail "no shutdown.exe in the prefix"
cleanup() {
  cp -p "$TEST_WORK/shutdown.exe.real" "$system32/shutdown.exe" || true
  wine "$devices_exe" clear >/dev/null 2>&1 || true
}
trap cleanup EXIT
cp "$standin_exe" "$system32/shutdown.exe"

default_antenna_platform
dir=$(recorder_case sr "$channels")
printf '20\n' >"$dir/config.txt"

WINEDLLOVERRIDES="$WINEDLLOVERRIDES;shutdown.exe=n" harness_start "$dir" "$scheduler_exe"
scheduler=$HARNESS_PID
drv wait "$sr_scheduler" 30 >/dev/null
harness_wait_until 30 tray_normal || fail "the tray shows no normal icon"

# At least 20 s of recording, up to the next minute.
[ "$(date +%-S)" -lt 40 ] || sleep $((61 - $(date +%-S)))
end=$(end_after 1)
write_event "$dir" "7 7 1" "$end" 2
start_recorder "$dir" TelvantisSR /LOCKTELVANTISSR
drv wait-shown "$sr_title" 60 >/dev/null
png=$(take_screenshot recorder "$sr_title")
assert_image_not_blank "$png"
harness_wait_until 30 tray_recording || fail "the tray icon did not change for the recording"
png=$(take_screenshot recording)
assert_image_not_blank "$png"
expect_recorder_exit 100
harness_wait_until 20 tray_normal || fail "the tray icon did not come back after the recording"
start=$(log_stamp_seconds "$dir" "START SILENT-RECORD: ")
stop=$(log_stamp_seconds "$dir" "STOPPED SILENT-RECORD: ")
assert_eq "$end" "$(date -d "@$stop" '+%-H %-M')" "stop minute"

# The recording plays for the time recorded.
file=$(recording_in "$dir")
[[ $(basename "$file") =~ ^Ch7-1_[A-Z][a-z]{2}[A-Z][a-z]{2}[0-9]{5,6}_[01][0-9][0-5][0-9][0-5][0-9][AP]M\.dvr-ms$ ]] ||
  fail "recording name $(basename "$file")"
played=$(wine "$play_exe" "$(winepath -w "$file")" | tr -d '\r') ||
  fail "the stand-in source does not play $file to its end: $played"
duration=$(sed -n 's/^duration=//p' <<<"$played")
echo "recorded $((stop - start)) s by the log, $duration s for the stand-in source"
awk -v d="$duration" -v r="$((stop - start))" 'BEGIN { exit !(d > r - 2.5 && d < r + 2) }' ||
  fail "$file lasts $duration s, recorded $((stop - start)) s"

# The shutdown command, 240 s after the request, once.
[ ! -e "$dir/started.txt" ] || fail "the shutdown command ran early: $(cat "$dir/started.txt")"
harness_wait_until $(( stop + 260 - $(date +%s) )) test -s "$dir/started.txt" ||
  fail "the shutdown command did not run"
ran=$(date +%s)
[ "$ran" -ge $(( stop + 238 )) ] || fail "the shutdown command ran $(( ran - stop )) s after the request"
assert_eq 'shutdown.exe -s -t 60 -c "TO ABORT SHUTDOWN, TYPE IN RUN  shutdown -a"' \
  "$(tr -d '\r' <"$dir/started.txt")" "the shutdown command"
sleep 3
assert_eq 1 "$(grep -c . "$dir/started.txt")" "runs of the shutdown command"

drv command "$sr_scheduler" 40005
assert_status 0 harness_wait_exit "$scheduler" 30
