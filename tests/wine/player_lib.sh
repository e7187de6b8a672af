# Helpers of the players' Wine tests, sourced after lib.sh.

source "$harness_top/tools/standin-install.sh"
tsgen_exe=$harness_top/build/native/tools/tsgen
listbox_exe=$(harness_exe telvlistbox) || fail "no telvlistbox.exe"
state_exe=$(harness_exe telvcontrolstate) || fail "no telvcontrolstate.exe"
decoders_key='HKCU\Software\Telvantis Standin\Decoders'

# The stand-in platform with the transport-stream filters; nothing fails.
install_player_platform() {
  standin_install --ts-filters --fail "" >install.out 2>&1 ||
    fail "standin-install: $(cat install.out)"
}

# player_files FOLDER [PRIMARY]: config.txt (model 17, whose decoders the
# graph inserts; overscan off), decoders.txt naming the test decoders, and a
# playconfig.txt with 15-second skips, the windows at known places and the
# primary-display flag PRIMARY (1 unless given).
player_files() {
  printf '17\n100\n50\n746\n416\n30\n700\n1\n0\n0\n-1\n1\n1\n1\n1\n0\n0\n0\n0\n60\n15\n1\n1\n1' >"$1/config.txt"
  printf 'Telvantis Test MPEG-2 Video Decoder\nTelvantis Test AC-3 Audio Decoder\n' >"$1/decoders.txt"
  printf '40\n20\n686\n386\n300\n800\n1\n15\n15\n%s\n1\n0\n' "${2:-1}" >"$1/playconfig.txt"
}

# start_player TITLE EXE FILE [PRIMARY]: player_files in the test's folder
# and no values left by an earlier start of the test decoders; then EXE
# started there on FILE, until its panel TITLE and its video window are
# shown. Its process id is in PLAYER_PID.
start_player() {
  player_files "$TEST_WORK" "${4:-1}"
  wine reg delete "$decoders_key" /f >/dev/null 2>&1 || true
  start_program "$2" "$3"
  PLAYER_PID=$HARNESS_PID
  drv wait-shown "$1" 60 >/dev/null
  drv wait-shown TelvantisPlayVideo 30 >/dev/null
}

# play_one_program TITLE: the platform installed and the transport-stream
# player (its panel titled TITLE) started on one.ts in the test's folder,
# 120 s of one 1280 x 720 program (PMT 0x30, video 0x100, audio 0x104),
# until the test card names the program and the position moves.
play_one_program() {
  install_player_platform
  "$tsgen_exe" --out one.ts --seconds 120 --program 1:0x30:1280x720:0x100:0x104 >/dev/null ||
    fail "tsgen failed"
  start_player "$1" TelvantisPlayTS one.ts
  wait_for_program "PID 0X100"
  harness_wait_until 60 position_at_least "$1" 2 || fail "the position does not move"
}

# check_about_box TITLE VERSION: the system menu's about item opens the
# About box, which shows VERSION; its OK button closes it.
check_about_box() {
  drv post "$1" 0x0112 16  # the system menu's about item
  drv wait-shown "About TelvantisPlay" 60 >/dev/null
  [[ $(drv children "About TelvantisPlay") == *"$2"* ]] ||
    fail "the about box does not show its version"
  drv click "About TelvantisPlay" 1
  drv wait-gone "About TelvantisPlay" 20
}

# decoder_value NAME: a value the test video decoder reports.
decoder_value() {
  wine reg query "$decoders_key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
has_decoder_value() { [ "$(decoder_value "$1")" = "$2" ]; }

# video_frames: the frames the test video decoder has decoded so far
# (written about once a second while it decodes).
video_frames() { printf '%d' "$(decoder_value VideoFrames)"; }
frames_above() { [ "$(video_frames)" -gt "$1" ]; }

# wait_for_program TEXT [SECONDS]: the test card names this program.
wait_for_program() {
  harness_wait_until "${2:-60}" has_decoder_value VideoProgram "$1" ||
    fail "the test card shows \"$(decoder_value VideoProgram)\", not \"$1\""
}

# seconds_of TEXT: H:MM:SS as seconds.
seconds_of() { awk -F: '{ print $1 * 3600 + $2 * 60 + $3 }' <<<"$1"; }

# position TITLE: the position read-out in seconds.
position() { seconds_of "$(harness_driver text "$1" 1013 | tr -d '\r')"; }
position_at_least() { [ "$(position "$1")" -ge "$2" ]; }
position_at_most() { [ "$(position "$1")" -le "$2" ]; }

# enabled TITLE ID...: 1 or 0 per control, on one line.
enabled() { wine "$state_exe" enabled "$@" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'; }

# rect_of TITLE: the window's outer rectangle, "left top right bottom".
rect_of() { wine "$state_exe" rect "$1" | tr -d '\r'; }
has_rect() { [ "$(rect_of "$1")" = "$2" ]; }

# wait_rect TITLE RECT WHAT: the window comes to RECT within 20 s.
wait_rect() {
  harness_wait_until 20 has_rect "$1" "$2" || fail "$3: the window is at $(rect_of "$1"), not $2"
}

# A popup menu is a visible window of the class "#32768".
menu_shown() { harness_driver list | awk -F'\t' '$2 == 1 && $4 == "#32768" { found = 1 } END { exit !found }'; }

# open_menu TITLE ID: clicks the panel's menu label ID and waits for its menu.
open_menu() {
  drv command "$1" "$2"
  harness_wait_until 20 menu_shown || fail "no menu from control $2"
}

# choose_entry TITLE KEY...: moves through the open menu with these keys
# (DOWN and UP pass over separators; END is the last line), then Enter;
# waits for the menu to close.
choose_entry() {
  local title=$1 key
  shift
  for key in "$@"; do drv key "$title" "$key"; done
  drv key "$title" RETURN
  harness_wait_until 20 eval '! menu_shown' || fail "the menu stays open after $*"
}

# downs N: N times DOWN, for choose_entry: the Nth line from the top.
downs() { local i; for ((i = 0; i < $1; i++)); do printf 'DOWN '; done; }

# shows_time TITLE ID: the read-out shows a time, not "--:--:--". The panel
# is shown before its first file is opened, so it may not answer at first.
shows_time() {
  local text
  text=$(harness_driver text "$1" "$2" 2>/dev/null | tr -d '\r') || return 1
  [[ $text == *:*:* && $text != *-* ]]
}
