#!/usr/bin/env bash
# The viewer on the stand-in platform: a first run that opens the setup
# window, normal runs with the model taken from config.txt, tuner.txt or the
# first device, the debug log of three kinds of build, live television on
# screen (also on the platform of Windows 7 and later), and what the exit
# (and Esc) write.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

# The prefix serves the lane's later tests: they get the older systems'
# platform back even when a case of Windows 7 and later stops this test.
windows7=0
restore_platform() {
  wine "$devices_exe" clear >/dev/null 2>&1 || true
  [ "$windows7" = 0 ] || standin_install --platform legacy >/dev/null 2>&1 || true
}
trap restore_platform EXIT

enabled() { wine "$state_exe" enabled "$@" | tr -d '\r' | tr '\n' ' '; }

antenna=$(make_antenna "$TEST_WORK")
install_platform "$antenna"
virtual_tuner "$tuner" "$capture"

model17_log='LOADING ATSC NETWORK PROVIDER\nLOADING BDA TUNER\nCONNECTING ATSC NETWORK PROVIDER->BDA TUNER\n\nLOADING BDA CAPTURE/RECEIVER\nCONNECTING BDA TUNER->BDA CAPTURE/RECEIVER\n\nLOADING MPEG2 DEMULTIPLEXER\nCONNECTING BDA CAPTURE/RECEIVER->MPEG2 DEMULTIPLEXER\n\nLOADING BDA MPEG2 TRANSPORT STREAM INFORMATION\nCONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM INFORMATION\n\nLOADING VMR\nCONNECTING MPEG2 DEMULTIPLEXER->VMR\n\nLOADING DIRECTSOUND RENDERER\nCONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER\n\nTELVANTIS OK\n'

# config_line FILE N: value N of config.txt.
config_line() { tr -d '\r' <"$1" | sed -n "${2}p"; }

# --- First run: no channels.txt, no tuner.txt, no config.txt ---
dir=$(case_folder first-run)
start_viewer "$dir"
drv wait "Telvantis Setup" 60 >/dev/null
# The setup window opens before the titles are set and with no timers: the
# panel still reads "Telvantis" and its read-outs keep their first texts.
assert_eq "0%" "$(drv text Telvantis 1005 | tr -d '\r')" "signal read-out"
assert_eq "---- X ----" "$(drv text Telvantis 1006 | tr -d '\r')" "picture size read-out"
drv click "Telvantis Setup" 1
drv wait "$panel" 20 >/dev/null
drv wait "$video" 5 >/dev/null
# Channel up, down, recall, channel, signal, volume up, down and mute are
# greyed; the timeshift transport is greyed; pause, record and setup are not.
assert_eq "0 0 0 0 0 0 0 0 " "$(enabled "$panel" 1001 1002 1003 1004 1005 1007 1008 1009)" "channel controls"
assert_eq "0 0 0 0 0 " "$(enabled "$panel" 1015 1016 1014 1017 1018)" "timeshift controls"
assert_eq "1 1 1 1 " "$(enabled "$panel" 1013 1025 1011 1)" "other controls"
sleep 1.5
assert_eq "0%" "$(drv text "$panel" 1005 | tr -d '\r')" "signal read-out after 1.5 s"
# No keyboard table on this path: Q does nothing, EXIT ends the viewer.
drv key "$panel" Q
sleep 1
drv find "$panel" >/dev/null
drv click "$panel" 1
expect_exit
[ "$(tr -d '\r' <"$dir/config.txt" | wc -l)" -eq 23 ] || fail "config.txt has not 24 lines"
assert_eq 17 "$(config_line "$dir/config.txt" 1)" "saved model"
assert_eq "125 0 1155 582" "$(tr -d '\r' <"$dir/config.txt" | sed -n 2,5p | tr '\n' ' ' | sed 's/ $//')" "saved video window"
assert_eq 0 "$(config_line "$dir/config.txt" 11)" "saved channel"
assert_no_files "$dir" chvols.txt channels.txt

# --- Normal run, model from the first device, debug log on ---
dir=$(case_folder model17)
cp "$TEST_WORK/channels.txt" "$dir/"
: >"$dir/telvdebug.txt"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WTST 10-1" 10
assert_bytes "$dir/telvdebug.txt" "$model17_log"
# Timer 1 shows the picture size (as the decoder reports it) and the signal
# (model 17: the raw value).
has_picture_size() { [[ $(harness_driver text "$panel" 1006 | tr -d '\r') =~ ^[1-9][0-9]*\ X\ [1-9][0-9]*$ ]]; }
harness_wait_until 20 has_picture_size || fail "no picture size: $(drv text "$panel" 1006)"
drv wait-text "$panel" 1005 "80%" 10
sleep 2
png=$(take_screenshot live-television)
assert_image_not_blank "$png"
# The test card: many colours, not a window that shows nothing.
png=$(take_screenshot video "$video")
[ "$(identify -format '%k' "$png")" -ge 8 ] || fail "no picture in the video window ($png)"
# Esc leaves without saving the settings.
drv key "$panel" ESCAPE
expect_exit
assert_no_files "$dir" config.txt chvols.txt

# --- Windows 7 and later: only the generic network provider is registered,
# and the ATSC antenna space is found by its type, not named "ATSC" (a cable
# space comes first, and tuning through it would receive nothing). The same
# build and the same picture, tuned: the signal of RF 7 ---
windows7=1
standin_install --platform windows7 >install.out 2>&1 || fail "standin-install: $(cat install.out)"
dir=$(case_folder windows7)
cp "$TEST_WORK/channels.txt" "$dir/"
: >"$dir/telvdebug.txt"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WTST 10-1" 10
assert_bytes "$dir/telvdebug.txt" "$model17_log"
harness_wait_until 20 has_picture_size || fail "no picture size on Windows 7: $(drv text "$panel" 1006)"
drv wait-text "$panel" 1005 "80%" 10
png=$(take_screenshot windows7-video "$video")
[ "$(identify -format '%k' "$png")" -ge 8 ] || fail "no picture on Windows 7 ($png)"
drv key "$panel" ESCAPE
expect_exit
standin_install --platform legacy >install.out 2>&1 || fail "standin-install: $(cat install.out)"
windows7=0

# --- Normal run without telvdebug.txt: no log appears; exit saves ---
dir=$(case_folder exit-saves)
printf '2\nWTST 7 10 1\nWTWO 7 10 2\n' >"$dir/channels.txt"
printf '17\n100\n50\n746\n416\n30\n700\n1\n0\n0\n-1\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n1' >"$dir/config.txt"
printf '1200\n-1\n' >"$dir/chvols.txt"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WTST 10-1" 10
assert_no_files "$dir" telvdebug.txt
# The system menu: the About box, minimise and restore (the video window
# goes and comes back with the panel).
drv post "$panel" 0x0112 0x0010
drv wait "About Telvantis" 10 >/dev/null
drv click "About Telvantis" 1
drv wait-gone "About Telvantis" 30
drv post "$panel" 0x0112 0xF020
harness_wait_until 10 output_is 0 visible "$video" || fail "the video window stays after minimise"
drv post "$panel" 0x0112 0xF120
harness_wait_until 10 output_is 1 visible "$video" || fail "the video window does not come back"
drv key "$panel" Q
expect_exit
# All 24 values, one per line, no line feed after the last; -1 became 0.
assert_bytes "$dir/config.txt" '17\n100\n50\n746\n416\n30\n700\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n1'
# chvols.txt: the mixer level for the current channel, -1 for the other.
volumes=$(tr -d '\r' <"$dir/chvols.txt")
[[ $volumes =~ ^[0-9]+(\.[0-9]+)?$'\n'-1$ ]] || fail "chvols.txt after exit:
$volumes"

# --- config.txt names model 8; tuner.txt absent ---
virtual_tuner "$tuner" "$capture"
device_entry register-tuner --virtual "DTV-DVB UDXTTM6000 - USB 2.0 ATSC Receiver"
dir=$(case_folder model8)
cp "$TEST_WORK/channels.txt" "$dir/"
printf '8' >"$dir/config.txt"
: >"$dir/telvdebug.txt"
start_viewer "$dir"
drv wait "Telvantis- FujiPlus USB" 60 >/dev/null
drv wait-text "Telvantis- FujiPlus USB" 1004 "WTST 10-1" 10
assert_bytes "$dir/telvdebug.txt" 'LOADING ATSC NETWORK PROVIDER\nLOADING BDA TUNER\nCONNECTING ATSC NETWORK PROVIDER->BDA TUNER\n\nLOADING MPEG2 DEMULTIPLEXER\nCONNECTING BDA TUNER->MPEG2 DEMULTIPLEXER\n\nLOADING BDA MPEG2 TRANSPORT STREAM INFORMATION\nCONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM INFORMATION\n\nLOADING VMR\nCONNECTING MPEG2 DEMULTIPLEXER->VMR\n\nLOADING DIRECTSOUND RENDERER\nCONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER\n\nTELVANTIS OK\n'
drv key "Telvantis- FujiPlus USB" Q
expect_exit
assert_eq 8 "$(config_line "$dir/config.txt" 1)" "saved model"

# --- tuner.txt and config.txt: names from tuner.txt, model 20 from config;
# decoders.txt names the test decoders ---
virtual_tuner "Telvantis Virtual Tuner" "Telvantis Virtual Capture"
dir=$(case_folder tuner-file)
cp "$TEST_WORK/channels.txt" "$dir/"
printf 'Telvantis Virtual Tuner\nTelvantis Virtual Capture\n' >"$dir/tuner.txt"
printf '20' >"$dir/config.txt"
printf 'Telvantis Test MPEG-2 Video Decoder\nTelvantis Test AC-3 Audio Decoder\n' >"$dir/decoders.txt"
: >"$dir/telvdebug.txt"
start_viewer "$dir"
drv wait "Telvantis- Telvantis Virtual Tuner" 60 >/dev/null
drv wait "Telvantis Video- Telvantis Virtual Tuner" 5 >/dev/null
drv wait-text "Telvantis- Telvantis Virtual Tuner" 1004 "WTST 10-1" 10
assert_bytes "$dir/telvdebug.txt" 'LOADING ATSC NETWORK PROVIDER\nLOADING BDA TUNER\nCONNECTING ATSC NETWORK PROVIDER->BDA TUNER\n\nLOADING BDA CAPTURE/RECEIVER\nCONNECTING BDA TUNER->BDA CAPTURE/RECEIVER\n\nLOADING MPEG2 DEMULTIPLEXER\nCONNECTING BDA CAPTURE/RECEIVER->MPEG2 DEMULTIPLEXER\n\nLOADING BDA MPEG2 TRANSPORT STREAM INFORMATION\nCONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM INFORMATION\n\nUSING DECODERS.TXT OK\nLOADING VIDEO DECODER\nCONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER\n\nLOADING AUDIO DECODER\nCONNECTING MPEG2 DEMULTIPLEXER->AUDIO DECODER\n\nLOADING VMR\nCONNECTING VIDEO DECODER->VMR\n\nLOADING DIRECTSOUND RENDERER\nCONNECTING AUDIO DECODER->DIRECTSOUND RENDERER\n\nTELVANTIS OK\n'
drv key "Telvantis- Telvantis Virtual Tuner" Q
expect_exit
assert_eq 20 "$(config_line "$dir/config.txt" 1)" "saved model"

# --- Tuner names of 99 characters (the longest a line of tuner.txt holds)
# make titles of the same length, cut nowhere ---
long_tuner=$(printf 'Telvantis Long Tuner %078d' 1)
long_capture=$(printf 'Telvantis Long Capture %076d' 2)
[ "${#long_tuner}" -eq 99 ] && [ "${#long_capture}" -eq 99 ] || fail "test names are not 99 characters"
virtual_tuner "$long_tuner" "$long_capture"
dir=$(case_folder long-names)
cp "$TEST_WORK/channels.txt" "$dir/"
printf '%s\n%s\n' "$long_tuner" "$long_capture" >"$dir/tuner.txt"
start_viewer "$dir"
drv wait "Telvantis- $long_tuner" 60 >/dev/null
drv wait "Telvantis Video- $long_tuner" 5 >/dev/null
drv wait-text "Telvantis- $long_tuner" 1004 "WTST 10-1" 10
drv key "Telvantis- $long_tuner" Q
expect_exit
assert_eq 20 "$(config_line "$dir/config.txt" 1)" "saved model"

# --- The size read-out follows the stream: on the default antenna 7-1 is
# 1920 x 1080, 7-2 720 x 480 and 9-1 1280 x 720, also after channel changes ---
TSGEN=$tsgen_exe bash "$harness_top/tools/make-antenna.sh" "$TEST_WORK/default" 6 >/dev/null ||
  fail "cannot make the default antenna"
install_platform "$TEST_WORK/default/antenna.txt"
virtual_tuner "$tuner" "$capture"
dir=$(case_folder picture-sizes)
cp "$TEST_WORK/default/channels.txt" "$dir/"
printf '17\n100\n50\n746\n416\n30\n700\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n1\n60\n15\n1\n0\n1' >"$dir/config.txt"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WSVN 7-1" 30
drv wait-text "$panel" 1006 "1920 X 1080" 30
png=$(take_screenshot size-7-1 "$panel")
assert_image_not_blank "$png"
for step in "W WSVN2 7-2|720 X 480" "W WNIN 9-1|1280 X 720" "S WSVN2 7-2|720 X 480" "S WSVN 7-1|1920 X 1080"; do
  key=${step%% *}
  channel=${step#* }
  channel=${channel%|*}
  drv key "$panel" "$key"
  drv wait-text "$panel" 1004 "$channel" 30
  drv wait-text "$panel" 1006 "${step#*|}" 30
done
drv key "$panel" Q
expect_exit
