#!/usr/bin/env bash
# The player's windows, in one start of the transport-stream player: the
# About box, full screen (where the panel under the mouse stays above the
# picture) and back, the aspect toggle, both windows' snapping to the
# screen's edges, the window menu's entries and sizes,
# the remote's display switch, and Esc, which runs the exit steps
# (playconfig.txt written with the window full screen, as it comes back at
# the next start). With one screen no second monitor is
# known: the display switch leaves both windows where they are (the move
# between monitors is left to the native geometry tests).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/player_lib.sh"

title="Telvantis Play TS"
video=TelvantisPlayVideo
pointer_exe=$(harness_exe telvplayerpointer) || fail "no telvplayerpointer.exe"
play_one_program "$title"

# --- the About box -------------------------------------------------------------
check_about_box "$title" "TelvantisPlayTS Version 1.1"

# --- full screen and the aspect ------------------------------------------------
# Under Xvfb the screen is 1280 x 1024; the window's client area is 640 x 360.
wait_rect "$video" "40 20 686 386" "video window at start"
drv key "$title" M
wait_rect "$video" "-3 -3 1283 1027" "full screen"
shot=$(take_screenshot full-screen)
assert_image_not_blank "$shot"
# In full screen the panel keeps the mouse: a right click on the picture
# brings the panel over it; then the mouse rests on the picture and moves
# on to the panel, and stays there longer than the three idle seconds that
# hide the cursor over the picture: the picture never covers the panel.
# The mouse waits where the panel will come, so that the picture's idle
# count stops as soon as the panel is up, however long the checks between
# take.
panel_above() { [ "$(wine "$pointer_exe" above "$title" "$video" | tr -d '\r')" = 1 ]; }
wine "$pointer_exe" move "$title" 80 70 || fail "cannot move the mouse"
drv post "$video" 0x204 2 $(((100 << 16) | 100))
harness_wait_until 20 panel_above || fail "a right click on the picture does not raise the panel"
wine "$pointer_exe" move "$video" 100 100 "$title" 80 70 || fail "cannot move the mouse"
if harness_wait_until 6 eval '! panel_above'; then fail "the picture covers the panel under the mouse"; fi
shot=$(take_screenshot full-screen-panel)
drv key "$video" M
wait_rect "$video" "40 20 686 386" "back from full screen"
drv key "$title" N
wait_rect "$video" "40 20 686 506" "4:3"
drv key "$video" N
wait_rect "$video" "40 20 686 386" "16:9 again"

# --- both windows snap to the screen's edges --------------------------------------
# A drag that brings a window within ten pixels of the screen's left and top
# edges puts it on them (the video window's 3-pixel frame beyond them); a
# drag elsewhere is kept as it is.
moving() { wine "$pointer_exe" moving "$@" | tr -d '\r'; }
assert_eq "-3 -3 643 363" "$(moving "$video" 4 5 650 371)" "the video window dragged near the corner"
assert_eq "40 20 686 386" "$(moving "$video" 40 20 686 386)" "the video window dragged elsewhere"
read -r panel_left panel_top panel_right panel_bottom <<<"$(rect_of "$title")"
panel_width=$((panel_right - panel_left))
panel_height=$((panel_bottom - panel_top))
assert_eq "0 0 $panel_width $panel_height" \
  "$(moving "$title" 6 7 $((6 + panel_width)) $((7 + panel_height)))" "the panel dragged near the corner"
assert_eq "200 100 $((200 + panel_width)) $((100 + panel_height))" \
  "$(moving "$title" 200 100 $((200 + panel_width)) $((100 + panel_height)))" "the panel dragged elsewhere"

# --- the window menu -------------------------------------------------------------
# 16:9: the title, 16:9, 4:3, the size title, then the sizes that fit the
# screen: 640 X 360 (line 5) up to 1280 X 720 (line 10), FULLSCREEN, the
# top-most title, ON and OFF.
open_menu "$title" 1026
choose_entry "$title" $(downs 3)
wait_rect "$video" "40 20 686 506" "4:3 from the window menu"
# 4:3 on a 1280 x 1024 screen: 640 X 480 (line 5) up to 1280 X 960 (line
# 11), four lines above the last.
open_menu "$title" 1026
shot=$(take_screenshot window-menu-4x3)
choose_entry "$title" END UP UP UP UP
wait_rect "$video" "40 20 1326 986" "1280 X 960 from the window menu"
open_menu "$title" 1026
choose_entry "$title" END UP UP UP
wait_rect "$video" "-3 -3 1283 1027" "FULLSCREEN from the window menu"
drv key "$video" M
wait_rect "$video" "40 20 1326 986" "back from the menu's full screen"
open_menu "$title" 1026
choose_entry "$title" $(downs 2)
wait_rect "$video" "40 20 1326 746" "16:9 from the window menu"
open_menu "$title" 1026
choose_entry "$title" $(downs 6)
wait_rect "$video" "40 20 846 476" "800 X 450 from the window menu"
# Always on top: ON, then the menu shows it (looked at in the picture).
open_menu "$title" 1026
choose_entry "$title" END UP
open_menu "$title" 1026
shot=$(take_screenshot window-menu-on-top)
drv key "$title" ESCAPE
harness_wait_until 20 eval '! menu_shown' || fail "the window menu stays open"

# --- the remote's display switch: no second monitor, nothing moves ---------------
# From the start again (playback may have reached the end by now).
drv key "$title" W
drv key "$title" V
harness_wait_until 20 position_at_most "$title" 5 || fail "go to start: at $(position "$title") s"
panel_at=$(rect_of "$title")
drv post "$title" 0x800A 0 0
before=$(position "$title")
harness_wait_until 20 position_at_least "$title" $((before + 2)) || fail "playback stops after the display switch"
assert_eq "40 20 846 476" "$(rect_of "$video")" "video window after the display switch"
assert_eq "$panel_at" "$(rect_of "$title")" "panel after the display switch"

# --- a change of the display's mode reaches the renderer ------------------------------
# Xvfb's mode cannot change under Wine: the test posts the message a change
# brings (32 bits, 1280 x 1024). A renderer that refuses it is not reported
# and playback goes on.
wine reg delete "$decoders_key" /v DisplayModeChanges /f >/dev/null 2>&1 || true
drv post "$video" 0x7E 32 0x04000500
harness_wait_until 20 has_decoder_value DisplayModeChanges 0x1 ||
  fail "the renderer was told of the change: \"$(decoder_value DisplayModeChanges)\""
standin_install --fail "VideoMixingRenderer.DisplayModeChanged" >/dev/null 2>&1 || fail "cannot set the failing step"
drv post "$video" 0x7E 32 0x04000500
harness_wait_until 20 has_decoder_value DisplayModeChanges 0x2 ||
  fail "the renderer was told of the second change: \"$(decoder_value DisplayModeChanges)\""
standin_install --fail "" >/dev/null 2>&1 || fail "cannot clear the failing step"
before=$(position "$title")
harness_wait_until 20 position_at_least "$title" $((before + 2)) || fail "playback stops after the display change"
message_box_shown() {
  drv list | tr -d '\r' | awk -F'\t' '$2 == 1 && $4 == "#32770" && $5 == "" { found = 1 } END { exit !found }'
}
! message_box_shown || fail "a refused display mode change was reported"

# --- Esc runs the exit steps; full screen comes back at the next start ---------------
drv key "$title" M
wait_rect "$video" "-3 -3 1283 1027" "full screen before the exit"
drv key "$title" ESCAPE
assert_status 0 harness_wait_exit "$PLAYER_PID" 30
# The video window as it was at the exit: full screen.
assert_file_content playconfig.txt "$(printf -- '-3\n-3\n1283\n1027\n300\n800\n1\n15\n15\n1\n1\n0')"
start_program TelvantisPlayTS one.ts
PLAYER_PID=$HARNESS_PID
drv wait-shown "$title" 60 >/dev/null
harness_wait_until 60 position_at_least "$title" 1 || fail "the second start does not play"
assert_eq "-3 -3 1283 1027" "$(rect_of "$video")" "full screen at the next start"
shot=$(take_screenshot full-screen-again)
assert_image_not_blank "$shot"
# It is full screen again: M leaves it, for a first start's window rather
# than one as large as the screen.
drv key "$video" M
wait_rect "$video" "125 0 1155 582" "leaving the full screen that came back"
drv key "$title" Q
assert_status 0 harness_wait_exit "$PLAYER_PID" 30
echo "player windows: all checks passed"
