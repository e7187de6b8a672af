#!/usr/bin/env bash
# The transport-stream player on a generated stream of two programs whose
# PIDs do not follow the PMT PID: started with the file on its command line
# it reads the PMTs, lists both programs and plays the first; choosing the
# second restarts with its PIDs; skips and the slider move the position; the
# end stops playback at "0:00:00" with only play enabled; playconfig.txt
# comes back as it was read.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/player_lib.sh"

title="Telvantis Play TS"
install_player_platform
"$tsgen_exe" --out two.ts --seconds 40 --program 1:0x30:1280x720:0x100:0x104 \
  --program 2:0x40:1280x720:0x200:0x204 >/dev/null || fail "tsgen failed"
player_files "$TEST_WORK"
wine reg delete "$decoders_key" /f >/dev/null 2>&1 || true

start_program TelvantisPlayTS two.ts
player=$HARNESS_PID
drv wait "$title" 60 >/dev/null
drv wait TelvantisPlayVideo 30 >/dev/null

# --- the first program, from its PMT -------------------------------------------
wait_for_program "PID 0X100"
# The size read-out shows the stream's own picture size.
drv wait-text "$title" 1019 "1280 X 720" 30
assert_eq "0x0100
0x0200" "$(wine "$listbox_exe" items "$title" 1029 | tr -d '\r')" "program list"
assert_eq "0x0100" "$(wine "$listbox_exe" selected "$title" 1029 | tr -d '\r')" "selected program"
assert_eq "two.ts" "$(drv text "$title" 1001 | tr -d '\r')" "file name"
# 40 s at 19.39 Mbit/s is 92.5 MiB, which the source's byte clock makes 40 s.
assert_eq "0:00:40" "$(drv text "$title" 1021 | tr -d '\r')" "duration"
harness_wait_until 60 position_at_least "$title" 2 || fail "the position does not move"
shot=$(take_screenshot first-program)
assert_image_not_blank "$shot"

# --- the second program restarts the file with its PIDs ---------------------
wine "$listbox_exe" select "$title" 1029 0x0200 || fail "cannot choose the second program"
wait_for_program "PID 0X200"
harness_wait_until 30 position_at_most "$title" 6 || fail "the second program did not start from the start"
shot=$(take_screenshot second-program)
assert_image_not_blank "$shot"

# --- skips and the slider -----------------------------------------------------------
harness_wait_until 30 position_at_least "$title" 3 || fail "the second program does not play"
before=$(position "$title")
drv key "$title" D
harness_wait_until 20 position_at_least "$title" $((before + 12)) || fail "skip forward: still at $(position "$title") s"
after=$(position "$title")
drv key "$title" A

harness_wait_until 20 position_at_most "$title" $((after - 10)) || fail "skip back: still at $(position "$title") s"
# A drag of the slider to its middle: half the duration's whole seconds.
drv post "$title" 0x114 $(((500 << 16) | 5)) 0
harness_wait_until 20 position_at_least "$title" 19 || fail "slider: at $(position "$title") s"
position_at_most "$title" 26 || fail "slider: at $(position "$title") s, not near 20"

# --- the end -------------------------------------------------------------------------------
drv key "$title" B
drv key "$title" W
drv wait-text "$title" 1013 "0:00:00" 60
# Play (1008) alone is enabled; pause, skips and stop (1007, 1006, 1009, 1018) are not.
assert_eq "1 0 0 0 0" "$(enabled "$title" 1008 1007 1006 1009 1018)" "buttons after the end"
shot=$(take_screenshot end)

# --- exit: the settings come back as they were read ------------------------------
drv key "$title" Q
assert_status 0 harness_wait_exit "$player" 30
assert_file_content playconfig.txt "$(printf '40\n20\n686\n386\n300\n800\n1\n15\n15\n1\n1\n0')"
echo "transport-stream player: all checks passed"
