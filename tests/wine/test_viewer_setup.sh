#!/usr/bin/env bash
# The setup window. A first run from an empty folder builds a channel list
# by hand from the default antenna (dial, tune, watch the signal, name,
# add), saves it with OK, and the next start is a normal run on it. The
# folders default to the program's folder under both registry roots, "SCHED"
# opens on the schedule, and removing every channel deletes channels.txt
# and greys the panel's channel controls.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

controls_exe=$(harness_exe telvcommoncontrols) || fail "no telvcommoncontrols.exe"
controls() { harness_tool "$controls_exe" "$@" | tr -d '\r'; }
enabled() { wine "$state_exe" enabled "$@" | tr -d '\r' | tr '\n' ' '; }
text() { drv text "$@" | tr -d '\r'; }

setup="Telvantis Setup"
signal="Telvantis Signal Strength"
tabs=3000

# The default antenna: 7-1 on RF 7 (signal 80, 1920x1080), 9-1 on RF 9
# (signal 60, 1280x720). Its channels.txt stays in its own folder.
bash "$harness_top/tools/make-antenna.sh" "$TEST_WORK/antenna" 4 >/dev/null || fail "make-antenna.sh failed"
install_platform "$TEST_WORK/antenna/antenna.txt"
virtual_tuner "$tuner" "$capture"

for root in HKLM HKCU; do wine reg delete "$root\\$model_key" /f >/dev/null 2>&1 || true; done
# registry_folder ROOT NAME: the folder kept under ROOT for "Timeshift" or "Record".
registry_folder() {
  wine reg query "$1\\$model_key\\$2" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *'"$2"' *REG_SZ *//p'
}
program_folder="$(winepath -w "$(dirname "$viewer_exe")" | tr -d '\r')\\"

# --- First run: an empty folder ---
dir=$(case_folder first-run)
start_viewer "$dir"
drv wait-shown "$setup" 60 >/dev/null
assert_eq 0 "$(controls current-tab "$setup" $tabs)" "first tab"
assert_eq " Hauppauge WinTV 885" "$(text "$setup" 3010)" "current tuner"
drv click "$setup" 3012
drv wait-text "$setup" 3013 " Hauppauge WinTV 885" 10

controls tab "$setup" $tabs 3
assert_eq "30 1 2 " "$(for id in 3041 3043 3045; do printf '%s ' "$(text "$setup" $id)"; done)" "fresh spins"
assert_eq "" "$(controls rows "$setup" 3049)" "fresh channel list"

# Dial 9-1 on RF 9: the channel number names it; tune it.
drv set-text "$setup" 3041 9
drv set-text "$setup" 3045 9
drv wait-text "$setup" 3040 CH9 10
drv wait-text "$setup" 3051 "9-1 / 9" 10
drv click "$setup" 3047
drv wait-text Telvantis 1004 "CH9 9-1" 20
drv wait-text "$setup" 3048 "60%" 30
sleep 1
png=$(take_screenshot first-run-rf9)
assert_image_not_blank "$png"
drv click "$setup" 3050

# 7-(-1) is shown in brackets; then 7-1 on RF 7 under a name of two words.
drv set-text "$setup" 3041 7
drv set-text "$setup" 3045 7
drv set-text "$setup" 3043 -1
drv wait-text "$setup" 3051 "7-(-1) / 7" 10
drv set-text "$setup" 3043 1
drv set-text "$setup" 3040 "K SEVEN"
drv click "$setup" 3047
drv wait-text Telvantis 1004 "K SEVEN 7-1" 20
drv wait-text "$setup" 3048 "80%" 30
sleep 1
png=$(take_screenshot first-run-rf7)
assert_image_not_blank "$png"

# The signal window: model 17's scale is unknown, so the bar spans 0-100.
controls notify-click "$setup" 3048
drv wait "$signal" 20 >/dev/null
drv wait-text "$signal" 3080 "Signal Strength: 80%" 20
drv wait-text "$signal" 3082 "MIN: 0, MAX: 100" 10
png=$(take_screenshot signal-window "$signal")
assert_image_not_blank "$png"
drv click "$signal" 1
drv wait-gone "$signal" 20

drv click "$setup" 3050
assert_eq $'K_SEVEN\t7-1\t7\nCH9\t9-1\t9' "$(controls rows "$setup" 3049)" "channel list"
png=$(take_screenshot channel-tab "$setup")

# Both folders: the program's folder, kept under both roots.
controls tab "$setup" $tabs 4
assert_eq "$program_folder" "$(text "$setup" 3060)" "timeshift folder"
assert_eq "$program_folder" "$(text "$setup" 3062)" "record folder"
# Each value is read again for a while: a `wine reg` that could not answer
# on a loaded machine prints nothing, which is not an empty value.
for root in HKLM HKCU; do
  for name in Timeshift Record; do
    harness_wait_until 10 output_is "$program_folder" registry_folder $root $name ||
      fail "$root $name folder: expected \"$program_folder\", got \"$(registry_folder $root $name)\""
  done
done

drv click "$setup" 1
drv wait-gone "$setup" 20
drv wait "$panel" 20 >/dev/null
assert_bytes "$dir/channels.txt" '2\nK_SEVEN 7 7 1\nCH9 9 9 1\n'
assert_eq "1 1 1 1 1 1 1 1 " "$(enabled "$panel" 1001 1002 1003 1004 1005 1007 1008 1009)" "channel controls"
drv click "$panel" 1
expect_exit
assert_eq 0 "$(tr -d '\r' <"$dir/config.txt" | sed -n 11p)" "saved channel"

# --- The next start: a normal run on that list ---
schedule='2\n2 1 7 2008 7 7 1 20 0 21 30 0 2 0\nD:\\Recordings\n3 1 8 2008 9 9 -1 0 5 8 5 1 0 2\n\n'
printf "$schedule" >"$dir/schedule.txt"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "K_SEVEN 7-1" 20
drv wait-text "$panel" 1005 "80%" 20

# "SCHED" opens on the schedule; the next "SETUP..." on the tuners.
drv click "$panel" 1012
drv wait-shown "$setup" 20 >/dev/null
assert_eq 5 "$(controls current-tab "$setup" $tabs)" "tab opened by SCHED"
assert_eq $'Mon, Jan 7, 2008\t7-1\t8:00 PM\t9:30 PM\t01:30\tRECORD-LIVE\tWEEKLY\tCLOSE
Tue, Jan 8, 2008\t9-1\t12:05 AM\t8:05 AM\t08:00\tRECORD-SILENT\tONCE\tSHUTDOWN' \
  "$(controls rows "$setup" 3070)" "schedule rows"
png=$(take_screenshot schedule-tab "$setup")
assert_image_not_blank "$png"
drv click "$setup" 1
drv wait-gone "$setup" 20
drv click "$panel" 1011
drv wait-shown "$setup" 20 >/dev/null
assert_eq 0 "$(controls current-tab "$setup" $tabs)" "tab opened by SETUP..."

# UPDATE: a row edited into 5-1 moves to its sorted place, and back into 9-1
# on RF 9.
controls tab "$setup" $tabs 3
controls select-row "$setup" 3049 1
drv wait-text "$setup" 3053 "9-1 / 9 --->" 10
drv set-text "$setup" 3041 7
drv set-text "$setup" 3045 5
drv wait-text "$setup" 3040 CH5 10
drv click "$setup" 3052
harness_wait_until 10 output_is $'CH5\t5-1\t7\nK_SEVEN\t7-1\t7' controls rows "$setup" 3049 ||
  fail "rows after the update: $(controls rows "$setup" 3049)"
assert_eq "" "$(text "$setup" 3053)" "UPDATE hint after the update"
controls select-row "$setup" 3049 0
drv wait-text "$setup" 3053 "5-1 / 7 --->" 10
drv set-text "$setup" 3041 9
drv set-text "$setup" 3045 9
drv wait-text "$setup" 3040 CH9 10
drv click "$setup" 3052
harness_wait_until 10 output_is $'K_SEVEN\t7-1\t7\nCH9\t9-1\t9' controls rows "$setup" 3049 ||
  fail "rows after the second update: $(controls rows "$setup" 3049)"

# Remove both channels: the row's hints, then an empty list.
controls select-row "$setup" 3049 1
drv wait-text "$setup" 3056 "9-1 / 9" 10
drv wait-text "$setup" 3053 "9-1 / 9 --->" 10
drv wait-text "$setup" 3040 CH9 10
drv click "$setup" 3055
harness_wait_until 10 output_is $'K_SEVEN\t7-1\t7' controls rows "$setup" 3049 ||
  fail "rows after the first removal: $(controls rows "$setup" 3049)"
drv wait-text "$setup" 3041 30 10
controls select-row "$setup" 3049 0
drv wait-text "$setup" 3056 "7-1 / 7" 10
drv click "$setup" 3055
harness_wait_until 10 output_is "" controls rows "$setup" 3049 || fail "a row is left"
drv click "$setup" 1
drv wait-gone "$setup" 20
assert_no_files "$dir" channels.txt
assert_eq "0 0 0 0 0 0 0 0 " "$(enabled "$panel" 1001 1002 1003 1004 1005 1007 1008 1009)" "channel controls"
assert_bytes "$dir/schedule.txt" "$schedule"
drv click "$panel" 1
expect_exit
