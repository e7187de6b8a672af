#!/usr/bin/env bash
# The viewer's controls on the stand-in platform: channel changes by key,
# button, the video window's keys and the remote control's message, each
# with its caption and the new program's picture; full screen, aspect and
# the window menu.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

state_exe=$(harness_exe telvcontrolstate) || fail "no telvcontrolstate.exe"
rect_of() { wine "$state_exe" rect "$1" | tr -d '\r'; }
type_digits() { wine "$state_exe" digits "$panel" "$1" || fail "cannot post the digits $1"; }

TSGEN=$tsgen_exe bash "$harness_top/tools/make-antenna.sh" "$TEST_WORK" 6 >/dev/null ||
  fail "cannot make the antenna"
install_platform "$TEST_WORK/antenna.txt"
virtual_tuner "$tuner" "$capture"

# config CHANNEL: config.txt for model 17 with the video window at 100,50
# (a 640 x 360 picture), the panel at 30,700, the caption as a grey box,
# Per Channel Volume and Save Per Channel Volume on.
config() {
  printf '17\n100\n50\n746\n416\n30\n700\n1\n0\n0\n%s\n1\n1\n1\n1\n0\n1\n0\n1\n60\n15\n1\n0\n1' "$1"
}
config_values() { tr -d '\r' <"$1" | sed -n "$2" | tr '\n' ' ' | sed 's/ $//'; }

visible() { drv list | tr -d '\r' | awk -F'\t' -v title="$1" '$5 == title { print $2 }'; }
osd_hidden() { [ "$(visible "$osd")" = 0 ]; }
# card_shows TEXT: the stand-in decoder's test card names this program.
card_shows() {
  wine reg query "$standin_key\\Decoders" /v VideoProgram 2>/dev/null | tr -d '\r' | grep -qF "$1"
}

# expect_channel CAPTION: the panel's channel label and the caption show it.
expect_channel() {
  drv wait-text "$panel" 1004 "$1" 30
  drv wait-text "$osd" 1100 "$1" 10
}

# expect_caption TEXT: the caption shows TEXT.
expect_caption() { drv wait-text "$osd" 1100 "$1" 20; }

# start_case NAME [CHVOLS]: a folder with the six channels, config.txt on
# channel 0 and, when given, chvols.txt; the viewer started there.
start_case() {
  dir=$(case_folder "$1")
  cp "$TEST_WORK/channels.txt" "$dir/"
  config 0 >"$dir/config.txt"
  [ -z "${2:-}" ] || printf "$2" >"$dir/chvols.txt"
  start_viewer "$dir"
  drv wait "$panel" 60 >/dev/null
  expect_channel "WSVN 7-1"
}

# --- Channels by key, button, the video window and the remote control ---
start_case channels
harness_wait_until 20 osd_hidden || fail "the caption of the start stays"
# The caption goes three seconds (six ticks of half a second) after it came,
# which was after the key was pressed.
pressed=$(date +%s.%N)
drv key "$panel" W
expect_channel "WSVN2 7-2"
harness_wait_until 20 osd_hidden || fail "the caption stays"
elapsed=$(awk -v a="$pressed" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
awk -v e="$elapsed" 'BEGIN { exit !(e >= 2.9) }' || fail "the caption went after $elapsed s"
# The new program plays: its test card names it.
harness_wait_until 30 card_shows "7-2 PROGRAM 2" || fail "no test card of 7-2"
png=$(take_screenshot channel-up)
assert_image_not_blank "$png"
drv key "$panel" S
expect_channel "WSVN 7-1"
drv key "$panel" S   # from the first channel round to the last
expect_channel "WTTT3 33-3"
drv key "$panel" W   # and from the last to the first
expect_channel "WSVN 7-1"
drv key "$panel" X   # recall
expect_channel "WTTT3 33-3"
drv key "$panel" X
expect_channel "WSVN 7-1"
drv click "$panel" 1001
expect_channel "WSVN2 7-2"
drv click "$panel" 1002
expect_channel "WSVN 7-1"
drv key "$video" W
expect_channel "WSVN2 7-2"
# The remote control: up, down, recall, then typed numbers.
drv post "$panel" 0x800A 0 1
expect_channel "WNIN 9-1"
png=$(take_screenshot remote-caption)
assert_image_not_blank "$png"
drv post "$panel" 0x800A 0 2
expect_channel "WSVN2 7-2"
drv post "$panel" 0x800A 0 3
expect_channel "WNIN 9-1"
type_digits 332
expect_channel "WTTT2 33-2"
harness_wait_until 30 card_shows "33-2 PROGRAM 2" || fail "no test card of 33-2"
png=$(take_screenshot typed-number)
assert_image_not_blank "$png"
type_digits 7
expect_channel "WSVN 7-1"
# A number no channel has: the caption goes, the channel stays.
type_digits 55
harness_wait_until 20 osd_hidden || fail "the caption of 55 stays"
assert_eq "55" "$(drv text "$osd" 1100 | tr -d '\r')" "the last caption"
assert_eq "WSVN 7-1" "$(drv text "$panel" 1004 | tr -d '\r')" "channel after 55"

# --- Full screen, aspect and the window menu ---
assert_eq "100 50 746 416" "$(rect_of "$video")" "video window at start"
drv key "$panel" M
harness_wait_until 20 output_is "-3 -3 1283 1027" rect_of "$video" ||
  fail "full screen: $(rect_of "$video")"
png=$(take_screenshot full-screen)
assert_image_not_blank "$png"
drv key "$video" M
harness_wait_until 20 output_is "100 50 746 416" rect_of "$video" ||
  fail "back from full screen: $(rect_of "$video")"
drv key "$panel" N
harness_wait_until 20 output_is "100 50 746 536" rect_of "$video" ||
  fail "4:3: $(rect_of "$video")"
# Full screen in 4:3 and back: the height follows the width for 4:3.
drv key "$panel" M
harness_wait_until 20 output_is "-3 -3 1283 1027" rect_of "$video" ||
  fail "full screen in 4:3: $(rect_of "$video")"
drv key "$panel" M
harness_wait_until 20 output_is "100 50 746 536" rect_of "$video" ||
  fail "back from full screen in 4:3: $(rect_of "$video")"
drv key "$panel" N
harness_wait_until 20 output_is "100 50 746 416" rect_of "$video" ||
  fail "16:9: $(rect_of "$video")"
# The window menu, open at the cursor: look at its entries in the picture.
drv command "$panel" 1010
sleep 2
png=$(take_screenshot window-menu)
assert_image_not_blank "$png"
drv key "$panel" ESCAPE
sleep 1

drv key "$panel" Q
expect_exit
