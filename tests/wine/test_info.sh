#!/usr/bin/env bash
# TelvantisInfo against stand-in device entries: the lists, tuner.txt and
# decoders.txt written from the selections, the refusals without one, the
# filter checks and the registration batch files with their re-checks.
#
# The lists must show exactly what this test registers, on a machine with no
# other tuner, decoder or suite filter: so the test always sets up a Wine
# prefix of its own rather than share the one of the run, where other tests
# register the stand-in platform.
set -euo pipefail
unset HARNESS_RUN HARNESS_OWNER
source "$(dirname "$0")/lib.sh"

title="Telvantis Info"
tuner="713x BDA ATSC Tuner"
capture="713x BDA Digital Capture"
video="Telvantis Test MPEG-2 Video, (HD)"
audio="Telvantis Test AC-3 Decoder"

devices=$(harness_exe telvstandin-devices) || fail "no telvstandin-devices"
listbox=$(harness_exe telvlistbox) || fail "no telvlistbox"
entry() { wine "$devices" "$@" || fail "telvstandin-devices $*"; }
items() { wine "$listbox" items "$title" "$1" | tr -d '\r'; }
select_line() { wine "$listbox" select "$title" "$1" "$2" || fail "cannot select \"$2\" in list $1"; }
text() { drv text "$title" "$1" | tr -d '\r'; }
lines() { printf '%s\n' "$@"; }

# One tuner; beside its receiver the capture category holds the system's own
# slip de-framer and MPE filter. Two decoders of each kind, and only the
# stream-buffer sink without its source.
entry register-tuner "$tuner"
for name in "BDA Slip De-Framer" "BDA MPE Filter" "$capture"; do entry register-capture "$name"; done
entry register-decoder video "$video"
entry register-decoder video "Another MPEG-2 Video Decoder With A Long Friendly Name"
entry register-decoder audio "$audio"
entry register-filter StreamBufferSink

# The transport-stream filters and their batch files, as they ship.
for file in telvantissource.ax telvantissink.ax regtsfilters.bat unregtsfilters.bat; do
  cp "$(harness_exe "$file")" . || fail "no $file"
done
wine cmd /c regtsfilters.bat || fail "regtsfilters.bat"
# The stream-buffer engine is not there to register: this batch file
# registers a stand-in entry for the missing source filter instead.
cp "$devices" .
printf '@echo off\r\ncd /d "%%~dp0"\r\ntelvstandin-devices.exe register-filter StreamBufferSource\r\n' \
  >regdvrmsfilters.bat

start_program TelvantisInfo
info=$HARNESS_PID
drv wait "$title" 30 >/dev/null

# --- The lists ---
assert_eq "$tuner" "$(items 1001)" "tuner list"
assert_eq "$capture" "$(items 1002)" "capture list"
assert_eq "$(lines "Another MPEG-2 Video Decoder With A Long Friendly Name" "$video")" "$(items 1003)" "video decoder list"
assert_eq "$audio" "$(items 1004)" "audio decoder list"
assert_eq "$(lines StreamBufferSink "The DVR-MS filters aren't installed properly!")" "$(items 1005)" "DVR-MS list"
assert_eq "$(lines TelvantisTSSink TelvantisTSSource)" "$(items 1006 | LC_ALL=C sort)" "TS list"
assert_eq "No tuner.txt created" "$(text 1019)" "tuner.txt content"
assert_eq "No decoders.txt created" "$(text 1020)" "decoders.txt content"
assert_eq "Uninstall TS" "$(text 1015)" "TS button"
png=$(take_screenshot dialog "$title")
assert_image_not_blank "$png"

# --- tuner.txt ---
drv click "$title" 1011
expect_box plain "No TUNER Selected!"
assert_eq "No Tuner Selected!" "$(text 1012)" "tuner field"
select_line 1001 "$tuner"
drv click "$title" 1011
expect_box plain "No CAPTURE Selected!"
assert_eq "No Capture Selected!" "$(text 1013)" "capture field"
[ ! -e tuner.txt ] || fail "tuner.txt written without a selection"
select_line 1002 "$capture"
drv click "$title" 1011
drv wait-text "$title" 1018 "tuner.txt OK" 10
cmp tuner.txt <(printf '%s\n%s\n' "$tuner" "$capture") || fail "tuner.txt is not byte for byte the selection"
assert_eq "$tuner" "$(text 1012)" "tuner field"
assert_eq "$capture" "$(text 1013)" "capture field"
assert_eq "$(lines "Current tuner.txt:" "   $tuner" "   $capture")" "$(text 1019)" "tuner.txt content"

# --- decoders.txt ---
drv click "$title" 1007
expect_box plain "No VIDEO DECODER Selected!"
assert_eq "No Video Decoder Selected!" "$(text 1008)" "video decoder field"
select_line 1003 "$video"
drv click "$title" 1007
expect_box plain "No AUDIO DECODER Selected!"
assert_eq "No Audio Decoder Selected!" "$(text 1009)" "audio decoder field"
[ ! -e decoders.txt ] || fail "decoders.txt written without a selection"
select_line 1004 "$audio"
drv click "$title" 1007
drv wait-text "$title" 1010 "decoders.txt OK" 10
cmp decoders.txt <(printf '%s\n%s\n' "$video" "$audio") || fail "decoders.txt is not byte for byte the selection"
assert_eq "$(lines "Current decoders.txt:" "   $video" "   $audio")" "$(text 1020)" "decoders.txt content"

# --- Transport-stream filters: uninstall, then install again ---
drv click "$title" 1015
drv wait-text "$title" 1015 "Install TS" 10
drv wait-text "$title" 1017 "TS NOT INSTALLED" 10
# The batch file unregisters one filter after the other; the re-checks go on
# until both are gone.
ts_none=$(lines "The Telvantis Transport Stream filters" "   aren't installed!")
ts_list_is_none() { [ "$(items 1006)" = "$ts_none" ]; }
harness_wait_until 10 ts_list_is_none || assert_eq "$ts_none" "$(items 1006)" "TS list"
drv click "$title" 1015
drv wait-text "$title" 1015 "Uninstall TS" 10
drv wait-text "$title" 1017 "TS OK" 10

# --- Stream-buffer filters ---
drv click "$title" 1014
drv wait-text "$title" 1016 "DVR-MS OK" 10
assert_eq "$(lines StreamBufferSink StreamBufferSource)" "$(items 1005 | LC_ALL=C sort)" "DVR-MS list"
take_screenshot written "$title" >/dev/null

# --- The about box from the system menu ---
drv post "$title" 0x0112 40000
drv wait "About TelvantisInfo" 10 >/dev/null
assert_image_not_blank "$(take_screenshot about "About TelvantisInfo")"
drv click "About TelvantisInfo" 1
drv wait-gone "About TelvantisInfo" 30

# OK ends the program; the next start shows the files written.
drv click "$title" 1
assert_status 0 harness_wait_exit "$info" 15
entry clear
start_program TelvantisInfo
drv wait "$title" 30 >/dev/null
assert_eq "$(lines "Current tuner.txt:" "   $tuner" "   $capture")" "$(text 1019)" "tuner.txt at start"
assert_eq "$(lines "Current decoders.txt:" "   $video" "   $audio")" "$(text 1020)" "decoders.txt at start"

# Nothing registered: the lists explain, and their explanation is no choice.
assert_eq "$(lines "No Tuners Found-" "   Uninstall tuner drivers," "   restart computer," \
  "   then install tuner drivers.")" "$(items 1001)" "empty tuner list"
assert_eq "$(lines "No Capture Devices Found-" "   Uninstall tuner drivers," "   restart computer," \
  "   then install tuner drivers.")" "$(items 1002)" "empty capture list"
assert_eq "No MPEG-2 Video Decoders Found!" "$(items 1003)" "empty video decoder list"
assert_eq "No AC-3 Audio Decoders Found!" "$(items 1004)" "empty audio decoder list"
assert_eq "The DVR-MS filters aren't installed!" "$(items 1005)" "DVR-MS list"
select_line 1001 "No Tuners Found-"
drv click "$title" 1011
expect_box plain "No TUNER Selected!"
cmp tuner.txt <(printf '%s\n%s\n' "$tuner" "$capture") || fail "tuner.txt changed"
take_screenshot empty "$title" >/dev/null
drv click "$title" 1
assert_status 0 harness_wait_exit "$HARNESS_PID" 15
