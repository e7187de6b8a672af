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

pointer_exe=$(harness_exe telvplayerpointer) || fail "no telvplayerpointer.exe"
type_digits() { wine "$state_exe" digits "$panel" "$1" || fail "cannot post the digits $1"; }

six_channel_platform

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
# expect_video_at RECT WHAT: the video window comes to RECT within 20 s.
expect_video_at() {
  harness_wait_until 20 output_is "$1" rect_of "$video" || fail "$2: $(rect_of "$video")"
}
# above A B: the window titled A lies above the one titled B in the z-order
# (the driver lists the windows from the top down).
above() {
  drv list | tr -d '\r' | awk -F'\t' -v a="$1" -v b="$2" '
    $5 == a && !seen_b { seen_a = 1 } $5 == b { seen_b = 1 } END { exit !seen_a }'
}
assert_eq "100 50 746 416" "$(rect_of "$video")" "video window at start"
# Full screen with "always on top" off: the picture comes above the panel
# that a right click on the picture had brought over it. The mouse rests on
# the panel, so that the picture's own rise after three seconds of a still
# cursor over it does not do the work.
drv post "$video" 0x0204 0 0   # WM_RBUTTONDOWN
harness_wait_until 10 above "$panel" "$video" || fail "a right click left the panel below the picture"
wine "$pointer_exe" move "$panel" 80 70 || fail "cannot move the mouse"
drv key "$panel" M
expect_video_at "-3 -3 1283 1027" "full screen"
harness_wait_until 10 above "$video" "$panel" ||
  fail "full screen left the picture below the panel: $(drv list | tr -d '\r' | cut -f5 | grep -n Telvantis)"
png=$(take_screenshot full-screen)
assert_image_not_blank "$png"
drv key "$video" M
expect_video_at "100 50 746 416" "back from full screen"
drv key "$panel" N
expect_video_at "100 50 746 536" "4:3"
# Full screen in 4:3 and back: the height follows the width for 4:3.
drv key "$panel" M
expect_video_at "-3 -3 1283 1027" "full screen in 4:3"
drv key "$panel" M
expect_video_at "100 50 746 536" "back from full screen in 4:3"
drv key "$panel" N
expect_video_at "100 50 746 416" "16:9"
# The window menu, open at the cursor: look at its entries in the picture.
menu_open() { harness_driver list | awk -F'\t' '$2 == 1 && $4 == "#32768" { found = 1 } END { exit !found }'; }
menu_closed() { ! menu_open; }
drv command "$panel" 1010
harness_wait_until 20 menu_open || fail "the window menu did not open"
png=$(take_screenshot window-menu)
assert_image_not_blank "$png"
drv key "$panel" ESCAPE
harness_wait_until 20 menu_closed || fail "Esc did not close the window menu"

# --- A change of the display's mode reaches the renderer; a renderer that
# refuses it is not reported and the picture goes on ---
# The test cannot change Xvfb's mode under Wine: it sends the message that
# a change brings to every top-level window.
wine reg delete "$standin_key\\Decoders" /v DisplayModeChanges /f >/dev/null 2>&1 || true
drv post "$video" 0x7E 32 0x04000500   # WM_DISPLAYCHANGE: 32 bits, 1280 x 1024
harness_wait_until 20 display_mode_changes_are 1 || fail "the renderer was told $(display_mode_changes) times"
set_failing_steps "VideoMixingRenderer.DisplayModeChanged"
drv post "$video" 0x7E 32 0x04000500
harness_wait_until 20 display_mode_changes_are 2 || fail "the renderer was told $(display_mode_changes) times"
set_failing_steps ""
sleep 1
no_message_box || fail "a refused display mode change was reported: $(drv list | tr -d '\r')"
drv key "$panel" W
expect_channel "WSVN2 7-2"
harness_wait_until 30 card_shows "7-2 PROGRAM 2" || fail "no test card of 7-2 after the display change"

drv key "$panel" Q
expect_exit
