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

state_exe=$(harness_exe telvcontrolstate) || fail "no telvcontrolstate.exe"

# rect_of TITLE: the window's outer rectangle, "left top right bottom".
rect_of() { wine "$state_exe" rect "$1" | tr -d '\r'; }

# visible TITLE: 1 when the window is visible, 0 when hidden, nothing when gone.
visible() { drv list | tr -d '\r' | awk -F'\t' -v title="$1" '$5 == title { print $2 }'; }

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
  harness_wait_exit "$VIEWER_PID" 120 || status=$?
  if [ "$status" -eq 124 ]; then
    # Still running: what it shows says where its exit stopped.
    harness_driver list >&2
    take_screenshot exit-hang >&2
    harness_stacks >&2
    failure_stacks_shown=1
  fi
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

# --- The viewer's folders for the WinTV 885 in the registry ---
# The prefix serves the whole run and HKLM comes first: both roots are set.

# set_viewer_folder NAME DIR: the Record or Timeshift folder set to DIR.
set_viewer_folder() {
  local root
  for root in HKLM HKCU; do
    wine reg add "$root\\$model_key\\$1" /v "$1" /d "Z:${2//\//\\}\\" /f >/dev/null ||
      fail "cannot set the ${1,,} folder"
  done
}

# set_recording_folders RECORD_DIR BUFFER_DIR: the record and the timeshift
# folder.
set_recording_folders() {
  set_viewer_folder Record "$1"
  set_viewer_folder Timeshift "$2"
}

# remove_folder_values NAME...: the values of these folders removed under
# both roots, for the tests that expect none; a missing value is no error.
remove_folder_values() {
  local root value
  for root in HKLM HKCU; do
    for value in "$@"; do
      wine reg delete "$root\\$model_key\\$value" /v "$value" /f >/dev/null 2>&1 || true
    done
  done
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

# two_channel_platform: the scheduler tests' set-up in the current folder:
# the antenna of make_antenna with a second channel, 10-2, on the same
# program, channels.txt listing WTST 10-1 and WTWO 10-2, and config.txt for
# model 17; the stand-in servers pointed at the antenna, the WinTV 885 as
# the virtual tuner and the stand-in stream-buffer engine.
two_channel_platform() {
  local antenna
  antenna=$(make_antenna "$TEST_WORK")
  printf 'CHANNEL 10 2 PROGRAM 1\n' >>"$antenna"
  printf '2\nWTST 7 10 1\nWTWO 7 10 2\n' >channels.txt
  printf '17\n125\n0\n1155\n582\n300\n600\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0' >config.txt
  install_platform "$antenna"
  virtual_tuner "$tuner" "$capture"
  register_stream_buffer
}

# register_stream_buffer: the stand-in stream-buffer engine, for the tests of
# timeshift and recording (until standin-install registers it with the
# other stand-ins).
register_stream_buffer() {
  local dll
  dll=$(standin_find "$harness_top/build/windows" telvstandin-streambuffer.dll)
  [ -n "$dll" ] || fail "telvstandin-streambuffer.dll is not built"
  standin_register "$dll" >/dev/null || fail "cannot register $dll"
}

# --- The default antenna's six channels, for the controls and the sound ---

# make_default_antenna: the default antenna's files in TEST_WORK, their
# clock starting now or at $ANTENNA_START; made anew, they replace the old.
make_default_antenna() {
  TSGEN=$tsgen_exe bash "$harness_top/tools/make-antenna.sh" "$TEST_WORK" 6 >/dev/null ||
    fail "cannot make the antenna"
}

# six_channel_platform: the default antenna (six channels on three RF
# channels, 6-second streams) and its channels.txt in TEST_WORK, the stand-in
# servers pointed at it, and the WinTV 885 as the virtual tuner.
six_channel_platform() {
  make_default_antenna
  install_platform "$TEST_WORK/antenna.txt"
  virtual_tuner "$tuner" "$capture"
}

osd_hidden() { [ "$(visible "$osd")" = 0 ]; }

# display_mode_changes: how often the renderer was told of a change of the
# display's mode (the stand-in counts it; 0 before the first).
display_mode_changes() {
  local value
  value=$(wine reg query "$standin_key\\Decoders" /v DisplayModeChanges 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *DisplayModeChanges *REG_DWORD *//p')
  printf '%d' "${value:-0}"
}
display_mode_changes_are() { [ "$(display_mode_changes)" = "$1" ]; }
# no_message_box: no message box (a dialog without a title) is on screen.
no_message_box() {
  ! drv list | tr -d '\r' | awk -F'\t' '$2 == 1 && $4 == "#32770" && $5 == "" { found = 1 } END { exit !found }'
}

# expect_channel CAPTION: the panel's channel label and the caption show it.
expect_channel() {
  drv wait-text "$panel" 1004 "$1" 30
  drv wait-text "$osd" 1100 "$1" 10
}

# card_shows TEXT: the stand-in decoder's test card names this program.
card_shows() {
  wine reg query "$standin_key\\Decoders" /v VideoProgram 2>/dev/null | tr -d '\r' | grep -qF "$1"
}

# expect_caption TEXT: the caption shows TEXT.
expect_caption() { drv wait-text "$osd" 1100 "$1" 20; }

# start_case NAME [CHVOLS]: a folder (in dir) with the six channels, when
# given chvols.txt, and config.txt for model 17 on channel 0 with the video
# window at 100,50 (a 640 x 360 picture), the panel at 30,700, the caption
# as a grey box, Per Channel Volume and Save Per Channel Volume on; the
# viewer started there and showing the first channel.
start_case() {
  dir=$(case_folder "$1")
  cp "$TEST_WORK/channels.txt" "$dir/"
  printf '17\n100\n50\n746\n416\n30\n700\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n1\n60\n15\n1\n0\n1' >"$dir/config.txt"
  # shellcheck disable=SC2059
  [ -z "${2:-}" ] || printf "$2" >"$dir/chvols.txt"
  start_viewer "$dir"
  drv wait "$panel" 60 >/dev/null
  expect_channel "WSVN 7-1"
}
