# Helpers of the viewer's Wine tests, sourced after lib.sh.

viewer_exe=$(harness_exe Telvantis) || fail "no Telvantis.exe"
devices_exe=$(harness_exe telvstandin-devices) || fail "no telvstandin-devices.exe"

# The tuner the viewer's tests emulate, a Hauppauge WinTV 885: the names of
# its virtual devices, the titles of the viewer's windows with it, and the
# viewer's registry key for its folders.
tuner="Hauppauge WinTV 885 BDA Tuner/Demod"
capture="Hauppauge WinTV 885 TS Capture"
panel="Telvantis- Hauppauge WinTV 885"
video="Telvantis Video- Hauppauge WinTV 885"
osd="Telvantis OSD"
model_key='SOFTWARE\Telvantis\Hauppauge WinTV 885'

# device_entry ARGS...: registers or removes a named device entry.
device_entry() { wine "$devices_exe" "$@" >/dev/null || fail "telvstandin-devices $*"; }

# case_folder NAME: a fresh working folder for one start of the viewer.
case_folder() {
  rm -rf "${TEST_WORK:?}/$1"
  mkdir -p "$TEST_WORK/$1"
  echo "$TEST_WORK/$1"
}

# start_viewer FOLDER: starts Telvantis.exe there; its process id is in
# VIEWER_PID.
start_viewer() {
  harness_start "$1" "$viewer_exe"
  VIEWER_PID=$HARNESS_PID
}

# expect_exit: the viewer ends by itself with status 0.
expect_exit() {
  local status=0
  harness_wait_exit "$VIEWER_PID" 30 || status=$?
  [ "$status" -eq 0 ] || fail "the viewer did not end normally (status $status)"
}

# assert_no_files FOLDER FILE...: none of them exists.
assert_no_files() {
  local folder=$1 file
  shift
  for file in "$@"; do
    [ ! -e "$folder/$file" ] || fail "$file was written"
  done
}

# assert_bytes FILE TEXT: the file holds exactly TEXT (printf format).
assert_bytes() {
  [ -f "$1" ] || fail "no file $1"
  # shellcheck disable=SC2059
  cmp -s "$1" <(printf "$2") || fail "$1 holds:
$(od -c "$1" | head -20)"
}

# --- The stand-in platform ---

tsgen_exe=$harness_top/build/native/tools/tsgen
standin_key='HKCU\Software\Telvantis Standin'

# make_antenna FOLDER: one RF channel (7, signal 80) carrying 10-1 in a
# short generated stream, the antenna file naming it, and a channels.txt
# for it in FOLDER; prints the antenna file's path.
make_antenna() {
  local folder=$1
  "$tsgen_exe" --out "$folder/rf7.ts" --seconds 6 >/dev/null || fail "tsgen failed"
  printf 'RF 7 SIGNAL 80 FILE rf7.ts\nCHANNEL 10 1 PROGRAM 1\n' >"$folder/antenna.txt"
  printf '1\nWTST 7 10 1\n' >"$folder/channels.txt"
  echo "$folder/antenna.txt"
}

source "$harness_top/tools/standin-install.sh"

# install_platform ANTENNA: registers the stand-in servers and points them at
# the antenna file, with no step set to fail.
install_platform() {
  standin_install --antenna "$1" --fail "" >install.out 2>&1 ||
    fail "standin-install: $(cat install.out)"
}

# set_failing_steps NAMES: the stand-in steps that are to fail ("" for none).
set_failing_steps() {
  standin_install --fail "$1" >/dev/null 2>&1 || fail "cannot set the failing steps"
}

# virtual_tuner TUNER [CAPTURE]: the only tuner devices are virtual ones
# under these names.
virtual_tuner() {
  local devices=(--tuner "$1")
  [ -z "${2:-}" ] || devices+=(--capture "$2")
  # Clearing is tried twice: a removal that fails the first time leaves
  # fewer entries for the second.
  standin_install --clear-devices "${devices[@]}" >install.out 2>&1 ||
    standin_install --clear-devices "${devices[@]}" >install.out 2>&1 ||
    fail "cannot register the virtual tuner \"$1\": $(cat install.out)"
}

# register_stream_buffer: the stand-in stream-buffer engine, for the tests of
# timeshift and recording (until standin-install registers it with the
# other stand-ins).
register_stream_buffer() {
  local dll
  dll=$(standin_find "$harness_top/build/windows" telvstandin-streambuffer.dll)
  [ -n "$dll" ] || fail "telvstandin-streambuffer.dll is not built"
  wine regsvr32 /s "$(winepath -w "$dll")" || fail "cannot register $dll"
}
