#!/usr/bin/env bash
# Timeshift on the stand-in platform, with a model whose decoders the graph
# inserts itself (no decoders.txt): a missing timeshift folder refused before
# anything moves, steps that fail half-way (the viewer goes back to live
# television each time, with the failure's message), then pause, play (the
# test card's stream clock lags live by the pause), the skips, the jumps,
# timeshift off.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

timeshift_key="$model_key\\Timeshift"

# A longer stream than the other viewer tests: the buffer holds what the
# test pauses over.
"$tsgen_exe" --out "$TEST_WORK/rf7.ts" --seconds 45 >/dev/null || fail "tsgen failed"
printf 'RF 7 SIGNAL 80 FILE rf7.ts\nCHANNEL 10 1 PROGRAM 1\nCHANNEL 10 2 PROGRAM 1\n' >"$TEST_WORK/antenna.txt"
printf '2\nWTST 7 10 1\nWTWO 7 10 2\n' >"$TEST_WORK/channels.txt"
install_platform "$TEST_WORK/antenna.txt"
virtual_tuner "$tuner" "$capture"
register_stream_buffer

text() { harness_driver text "$panel" "$1" | tr -d '\r'; }
# enabled ID...: 1 or 0 per control of the panel, on one line.
enabled() { wine "$state_exe" enabled "$panel" "$@" | tr -d '\r' | paste -sd' '; }
menu_open() { harness_driver list | awk -F'\t' '$2 == 1 && $4 == "#32768" { found = 1 } END { exit !found }'; }
menu_closed() { ! menu_open; }
behind() { text 1023; }
state() { text 1020; }
# The video window shows a picture (the test card has many colours).
picture_runs() {
  local png
  png=$(take_screenshot "$1" "$video")
  [ "$(identify -format '%k' "$png")" -ge 8 ] || fail "no picture in the video window ($png)"
}

# The stream clock of the last picture the test decoder put out, in seconds,
# and the wall-clock moment it was read (the decoder writes it once a second).
decoders_key='HKCU\Software\Telvantis Standin\Decoders'
read_stream_clock() {
  local value
  value=$(wine reg query "$decoders_key" /v VideoClock 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *VideoClock *REG_SZ *//p')
  read_at=$(date +%s.%N)
  [ -n "$value" ] || return 1
  stream_clock=$(awk -F: '{ printf "%.2f", $1 * 3600 + $2 * 60 + $3 }' <<<"$value")
}

# The prefix serves the whole run: no "Timeshift" value under either root
# until the test sets one.
for root in HKLM HKCU; do wine reg delete "$root\\$timeshift_key" /f >/dev/null 2>&1 || true; done

dir=$(case_folder timeshift)
cp "$TEST_WORK/channels.txt" "$dir/"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WTST 10-1" 10

# --- No "Timeshift" value: refused, live television runs on ---
drv click "$panel" 1013
expect_box exclamation "NO TIMESHIFT FOLDER SET: CHOOSE ONE IN SETUP"
assert_eq OFF "$(state)" "timeshift state without a folder"
picture_runs no-folder

buffer_dir="$dir/buffer"
mkdir -p "$buffer_dir"
set_viewer_folder Timeshift "$buffer_dir"

# --- The sink's analyser cannot be made: "NO SINK", live television again.
# The sink made without it is not used again on its own: the next start
# makes both (and gets as far as the failure it is given) ---
set_failing_steps "Analyzer.Create"
drv click "$panel" 1013
expect_box plain "NO SINK"
harness_wait_until 10 output_is OFF state || fail "timeshift state without an analyser: $(state)"

# --- A step half-way fails: its message, then live television again ---
set_failing_steps "Analyzer.Connect"
drv click "$panel" 1013
expect_box exclamation "COULDN'T CONNECT FILTERS"
expect_box plain "CANT CONNECT FIRST SINK"
harness_wait_until 10 output_is OFF state || fail "timeshift state after the failure: $(state)"
picture_runs back-at-live
set_failing_steps ""

# --- A timeshift folder too long for the stream buffer: configuring it
# fails with its message, and live television runs again ---
set_viewer_folder Timeshift "$buffer_dir/$(printf 'x%.0s' {1..230})"
drv click "$panel" 1013
expect_box plain "CANT CONFIGURE STREAM BUFFER"
harness_wait_until 10 output_is OFF state || fail "timeshift state after the long folder: $(state)"
set_viewer_folder Timeshift "$buffer_dir"

# --- Pause from live: timeshift on and paused ---
assert_eq "0 0" "$(enabled 1023 1024)" "behind-live and position fields at live"
drv click "$panel" 1013
drv wait-text "$panel" 1020 "ON+PAUSE" 30
paused_at=$SECONDS
# The behind-live time and the position are live fields now.
assert_eq "1 1" "$(enabled 1023 1024)" "behind-live and position fields in timeshift"
# The stub file and the period's own recording lie in the timeshift folder.
has_recording() { compgen -G "$buffer_dir/*-*_*[AP]M.dvr-ms" >/dev/null; }
harness_wait_until 20 has_recording || fail "no timeshift recording in $buffer_dir: $(ls "$buffer_dir")"
# Paused for 20 seconds: that is what is measured.
while ((SECONDS - paused_at < 20)); do sleep 1; done
drv click "$panel" 1014
drv wait-text "$panel" 1020 "ON" 10
[[ $(behind) =~ ^-00:00:(19|2[0-4])$ ]] || fail "behind live after a 20 s pause: $(behind)"
picture_runs paused-20s
# The picture shown runs again: its stream clock moves on.
read_stream_clock || fail "the test decoder reports no stream clock"
resumed_clock=$stream_clock
clock_moved() { read_stream_clock && awk -v a="$stream_clock" -v b="$resumed_clock" 'BEGIN { exit !(a > b) }'; }
harness_wait_until 15 clock_moved || fail "the stream clock stands still after play"
played_clock=$stream_clock played_at=$read_at

# Skip back 15 s: further behind by 15 s, or by less when the start of the
# buffer comes first (playback resumed a few seconds into it).
before=$(behind)
drv click "$panel" 1015
seconds_of() { local t=${1#-}; echo $((10#${t:0:2} * 3600 + 10#${t:3:2} * 60 + 10#${t:6:2})); }
moved_back() {
  local gained=$(($(seconds_of "$(behind)") - $(seconds_of "$before")))
  ((gained >= 1 && gained <= 15))
}
harness_wait_until 10 moved_back || fail "behind live after skip back: $before, then $(behind)"
# About 35 to 39 s behind, a 60 s skip forward lands at live.
drv click "$panel" 1016
assert_eq "00:00:00" "$(behind)" "behind live after skip forward past live"
# At live the stream clock is live's: carried back to the moment read after
# play, it lies about the pause ahead of what the decoder showed then (the
# buffer's time stamps run on across the tuner's loops of its file).
lag() {
  awk -v live="$stream_clock" -v at="$read_at" -v shown="$played_clock" -v then="$played_at" \
    'BEGIN { printf "%.1f", live - (at - then) - shown }'
}
caught_up() { read_stream_clock && awk -v l="$(lag)" 'BEGIN { exit !(l >= 15) }'; }
harness_wait_until 20 caught_up || true
echo "the test card lagged live by $(lag) s after a 20 s pause"
awk -v l="$(lag)" 'BEGIN { exit !(l >= 17 && l <= 25) }' ||
  fail "the test card lagged live by $(lag) s after a 20 s pause, not about 20 s"
# Back 15 s, then the jump to live.
drv click "$panel" 1015
[ "$(behind)" != "00:00:00" ] || fail "skip back did not move the field"
drv click "$panel" 1018
assert_eq "00:00:00" "$(behind)" "behind live after the jump to live"
# The jump to the start: behind by the time since timeshift began.
drv click "$panel" 1017
[ "$(seconds_of "$(behind)")" -ge 20 ] || fail "behind live after the jump to the start: $(behind)"
picture_runs at-start

# --- The timeshift menus open like the panel's other popups ---
# With another program in front, the menu's panel comes to the foreground
# first, so that a click elsewhere would close the menu.
focus_title="Telvantis Focus Test"
start_program telvmsgwatch "$focus_title" focus.txt
drv wait-shown "$focus_title" 30 >/dev/null
drv activate "$focus_title" 10
assert_eq "$focus_title" "$(drv foreground | tr -d '\r')" "foreground before the menu"
drv command "$panel" 1020
harness_wait_until 20 menu_open || fail "the timeshift menu did not open"
assert_eq "$panel" "$(drv foreground | tr -d '\r')" "foreground while the timeshift menu is open"
take_screenshot timeshift-menu >/dev/null
drv key "$panel" ESCAPE
harness_wait_until 20 menu_closed || fail "Esc did not close the timeshift menu"
drv post "$focus_title" 0x0010   # WM_CLOSE
drv wait-gone "$focus_title" 30

# The timeshift-channel menu changes channel as the channel keys do: the
# panel's channel label follows, and so does the menu's label.
drv command "$panel" 1021
harness_wait_until 20 menu_open || fail "the timeshift-channel menu did not open"
take_screenshot timeshift-channel-menu >/dev/null
drv key "$panel" DOWN
drv key "$panel" DOWN
drv key "$panel" RETURN
harness_wait_until 20 menu_closed || fail "the timeshift-channel menu stays open"
drv wait-text "$panel" 1021 "10-2" 20
drv wait-text "$panel" 1004 "WTWO 10-2" 20
assert_eq "00:00:00" "$(behind)" "behind live after the timeshift channel change"

# --- Timeshift off (key U): the live graph again, the test card running ---
drv key "$panel" U
drv wait-text "$panel" 1020 "OFF" 30
assert_eq "00:00:00" "$(behind)" "behind live after timeshift off"
assert_eq "0 0" "$(enabled 1023 1024)" "behind-live and position fields after timeshift off"
picture_runs live-again
take_screenshot panel-live-again >/dev/null

# --- The second and third timeshift of the run: the sink the first one
# made is used again (its key cannot be set twice) ---
for start in second third; do
  drv click "$panel" 1013
  drv wait-text "$panel" 1020 "ON+PAUSE" 30
  drv key "$panel" U
  drv wait-text "$panel" 1020 "OFF" 30
done
picture_runs live-after-three

drv key "$panel" Q
expect_exit
