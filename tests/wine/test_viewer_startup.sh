#!/usr/bin/env bash
# The viewer's start-up decisions that end before a picture runs: an empty
# tuner.txt, no way to know the tuner, and a tuner the catalogue does not
# know. None of them writes a file.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

device_entry clear
trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

# tuner.txt whose first line is empty: the tuner is named by nothing.
dir=$(case_folder empty-tuner)
printf '\nHauppauge WinTV 885 TS Capture\n' >"$dir/tuner.txt"
start_viewer "$dir"
expect_box plain "NO TUNER.TXT CONFIGURED"
expect_exit
assert_no_files "$dir" config.txt chvols.txt channels.txt telvdebug.txt
assert_bytes "$dir/tuner.txt" '\nHauppauge WinTV 885 TS Capture\n'

# The same with a channel list: refused the same way.
dir=$(case_folder empty-tuner-channels)
printf '\nCapture\n' >"$dir/tuner.txt"
printf '1\nWTST 7 10 1\n' >"$dir/channels.txt"
start_viewer "$dir"
expect_box plain "NO TUNER.TXT CONFIGURED"
expect_exit
assert_no_files "$dir" config.txt chvols.txt

# A first run with no tuner.txt, no config.txt and no tuner device at all.
dir=$(case_folder no-device)
start_viewer "$dir"
expect_box plain "RUN TELVANTISINFO AND CREATE A TUNER.TXT FILE FIRST"
expect_exit
assert_no_files "$dir" config.txt chvols.txt

# A first run whose first tuner device is not in the catalogue.
device_entry register-tuner "Telvantis Unknown Tuner"
dir=$(case_folder unknown-device-first-run)
start_viewer "$dir"
expect_box plain "RUN TELVANTISINFO AND CREATE A TUNER.TXT FILE FIRST"
expect_exit

# With a channel list the unknown tuner leaves no model, so the graph has
# no tuner to load and start-up ends there, writing nothing (not even an
# existing telvdebug.txt beyond the steps it reached).
dir=$(case_folder unknown-device-channels)
printf '1\nWTST 7 10 1\n' >"$dir/channels.txt"
start_viewer "$dir"
close_box ""
case $BOX_TEXT in
  "NO ATSC NETWORK PROVIDER" | "CAN'T LOAD BDA Tuner") ;;
  *) fail "unexpected first message \"$BOX_TEXT\"" ;;
esac
assert_eq exclamation "$BOX_ICON" "icon of the box \"$BOX_TEXT\""
expect_box plain "CAN'T BUILD TELVANTIS GRAPH"
expect_exit
assert_no_files "$dir" config.txt chvols.txt telvdebug.txt
assert_bytes "$dir/channels.txt" '1\nWTST 7 10 1\n'
device_entry unregister tuner "Telvantis Unknown Tuner"
