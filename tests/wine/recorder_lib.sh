# Helpers of the silent recorders' Wine tests, sourced after lib.sh. The
# recorders run here without a scheduler: a test writes silentevent.txt as the
# scheduler would, starts the recorder with the lock switch, and watches the
# messages it posts through telvmsgwatch, a window under the scheduler's
# title. A test of the scheduler driving the recorders can start the real
# scheduler instead and keep the checks.

source "$harness_top/tools/standin-install.sh"

devices_exe=$(harness_exe telvstandin-devices) || fail "no telvstandin-devices.exe"
watch_exe=$(harness_exe telvmsgwatch) || fail "no telvmsgwatch.exe"
tscheck_exe=$harness_top/build/native/recorder/telvtscheck
[ -x "$tscheck_exe" ] || fail "no $tscheck_exe (build the native tree)"

# The virtual tuner named by tuner.txt: model 20, titled by the tuner's name.
rec_tuner="Telvantis Virtual Tuner"
rec_capture="Telvantis Virtual Capture"
ts_title="Silent Record TS- $rec_tuner"
ts_scheduler="Telvantis Scheduler TS- $rec_tuner"
sr_title="Silent Record- $rec_tuner"
sr_scheduler="Telvantis Scheduler- $rec_tuner"

# recorder_platform ANTENNA_FILE: the stand-in servers, the transport-stream
# filters (the dump filter among them) and the virtual tuner and capture.
recorder_platform() {
  standin_install --ts-filters --antenna "$1" --fail "" >install.out 2>&1 ||
    fail "standin-install: $(cat install.out)"
  standin_install --clear-devices --tuner "$rec_tuner" --capture "$rec_capture" >install.out 2>&1 ||
    standin_install --clear-devices --tuner "$rec_tuner" --capture "$rec_capture" >install.out 2>&1 ||
    fail "cannot register the virtual tuner: $(cat install.out)"
}

# default_antenna_platform: the default antenna of make-antenna.sh in
# TEST_WORK/antenna and recorder_platform on it; the path of its channel
# list is in channels.
default_antenna_platform() {
  "$harness_top/tools/make-antenna.sh" "$TEST_WORK/antenna" >/dev/null || fail "make-antenna failed"
  recorder_platform "$TEST_WORK/antenna/antenna.txt"
  channels="$TEST_WORK/antenna/channels.txt"
}

# recorder_case NAME CHANNELS_FILE: a fresh working folder with tuner.txt,
# the channel list and an empty recording folder "rec"; prints its path.
recorder_case() {
  local dir="$TEST_WORK/$1"
  rm -rf "$dir"
  mkdir -p "$dir/rec"
  printf '%s\n%s\n' "$rec_tuner" "$rec_capture" >"$dir/tuner.txt"
  cp "$2" "$dir/channels.txt"
  echo "$dir"
}

# windows_folder DIR: DIR as the programs see it, with a trailing backslash.
windows_folder() { echo "$(winepath -w "$1" 2>/dev/null)\\"; }

# end_after MINUTES: the time of day MINUTES minutes from now, as "H M".
end_after() { date -d "+$1 minutes" '+%-H %-M'; }

# write_event DIR "C1 C2 C3" "H M" WHEN_DONE: silentevent.txt as the scheduler
# writes it, for the recording folder DIR/rec.
write_event() {
  printf '%s %s %s\n%s\n' "$2" "$3" "$4" "$(windows_folder "$1/rec")" >"$1/silentevent.txt"
}

# start_watcher DIR TITLE: the scheduler's stand-in window; its messages go
# to DIR/messages.txt. Its process id is in WATCH_PID.
start_watcher() {
  rm -f "$1/messages.txt"
  harness_start "$1" "$watch_exe" "$2" messages.txt
  WATCH_PID=$HARNESS_PID
  drv wait "$2" 30 >/dev/null
}

stop_watcher() {
  harness_driver post "$1" 16 >/dev/null 2>&1 || true  # WM_CLOSE
  harness_wait_exit "$WATCH_PID" 20 >/dev/null || harness_stop "$WATCH_PID"
}

# messages DIR: the messages the watcher got, one a line, blank-separated.
messages() { [ ! -f "$1/messages.txt" ] || tr -d '\r' <"$1/messages.txt" | tr '\n' ';'; }

# start_recorder DIR EXE [ARGS]: the recorder's process id is in RECORDER_PID.
start_recorder() {
  local dir=$1 exe
  exe=$(harness_exe "$2") || fail "no $2.exe"
  shift 2
  harness_start "$dir" "$exe" "$@"
  RECORDER_PID=$HARNESS_PID
}

# expect_recorder_exit [SECONDS]: the recorder ends by itself with status 0.
expect_recorder_exit() {
  local status=0
  harness_wait_exit "$RECORDER_PID" "${1:-30}" || status=$?
  [ "$status" -ne 124 ] || { harness_stacks >&2; failure_stacks_shown=1; }
  [ "$status" -eq 0 ] || fail "the recorder did not end normally (status $status)"
}

# visible TITLE: 1 when the window is visible, 0 when hidden, nothing when gone.
visible() { harness_driver list | tr -d '\r' | awk -F'\t' -v title="$1" '$5 == title { print $2 }'; }

# is_hidden TITLE: the window exists and is hidden.
is_hidden() { [ "$(visible "$1")" = 0 ]; }

# grown_past FILE BYTES: the file holds more than BYTES.
grown_past() { [ -f "$1" ] && [ "$(stat -c %s "$1")" -gt "$2" ]; }

# recording_in DIR: the one recording in DIR/rec.
recording_in() {
  local files=("$1"/rec/*)
  [ "${#files[@]}" -eq 1 ] && [ -f "${files[0]}" ] || fail "not one recording in $1/rec: ${files[*]}"
  echo "${files[0]}"
}

# log_stamp_seconds DIR PREFIX: the time of the log entry PREFIX in
# scheduler.txt as seconds since the epoch.
log_stamp_seconds() {
  local stamp
  stamp=$(tr -d '\r' <"$1/scheduler.txt" | grep -m1 "^$2" | sed "s|^$2||")
  [ -n "$stamp" ] || fail "no entry \"$2\" in $1/scheduler.txt"
  # month/day/year-hour:minute:second
  echo "$stamp" | awk -F'[/:-]' '{ printf "%04d-%02d-%02d %02d:%02d:%02d\n", $3, $1, $2, $4, $5, $6 }' |
    xargs -I{} date -d {} +%s
}

# assert_programs FILE N: ffprobe reads the file and finds N programs with
# their video and audio streams.
assert_programs() {
  local programs codecs
  programs=$(ffprobe -v error -show_entries program=program_id -of default=nw=1:nk=1 "$1") ||
    fail "ffprobe cannot read $1"
  [ "$(grep -c . <<<"$programs")" -eq "$2" ] || fail "ffprobe finds programs \"$programs\" in $1, expected $2"
  codecs=$(ffprobe -v error -show_entries stream=codec_name -of default=nw=1:nk=1 "$1") ||
    fail "ffprobe cannot read $1"
  grep -qx mpeg2video <<<"$codecs" || fail "no MPEG-2 video in $1"
  grep -qx ac3 <<<"$codecs" || fail "no AC-3 audio in $1"
}

# The scheduler's tray icon as the shell draws it, at the right end of Wine's
# taskbar: the recording icon is a red disc, the normal one has no red.
red_in_tray() {
  local png="$TEST_WORK/tray.png"
  harness_screenshot "$png" >/dev/null || return 1
  convert "$png" -gravity SouthEast -crop 40x30+0+0 +repage -fx '(r>0.7&&g<0.3&&b<0.3)' \
    -format '%[fx:round(mean*w*h)]' info:
}
tray_recording() { [ "$(red_in_tray)" -gt 20 ]; }
tray_normal() { [ "$(red_in_tray)" = 0 ]; }
