#!/usr/bin/env bash
# The stream-buffer player on a recording made by the stand-in stream
# buffer from the virtual tuner: started with the recording on its command
# line it shows the recording's length, plays it from start to end and stops
# at "0:00:00" with only play enabled; started with the video on a secondary
# display that is not there, the remote's switch back brings both windows to
# real places and leaves it stopped; it plays again from the start; its
# About box names it; a second recording opened from its Open dialog plays;
# Q writes playconfig.txt with the windows' new places.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/player_lib.sh"

title="Telvantis Play"
TSGEN=$tsgen_exe bash "$harness_top/tools/make-antenna.sh" antenna 4 >/dev/null || fail "make-antenna.sh failed"
standin_install --clear-devices --tuner "Stand-in Tuner" --capture "Stand-in Capture" \
  --antenna "$PWD/antenna/antenna.txt" --fail "" >install.out 2>&1 || fail "standin-install: $(cat install.out)"
cp "$(harness_exe standinsbe)" . || fail "no standinsbe.exe"
standinsbe() { wine ./standinsbe.exe "$@" | tr -d '\r'; }
value() { sed -n "s/^$1=//p" <<<"$2"; }

# --- a recording of about half a minute of 7-1 ---------------------------------
mkdir -p buffer
out=$(standinsbe record "$(winepath -w "$PWD/buffer")" 30 7 7 1 "$(winepath -w "$PWD/rec.dvr-ms")") ||
  fail "record: $out"
echo "$out"
check=$(standinsbe check rec.dvr-ms) || fail "check: $check"
span=$(($(value span_ms "$check") / 1000))
# The virtual tuner may send less than real time on a busy machine.
[ "$span" -ge 5 ] || fail "the recording spans only $span s"
echo "the recording spans $span s"

# Started with the video on the secondary display (playconfig.txt's value
# 10 is 0), which this one-screen desktop does not have.
start_player "$title" TelvantisPlay rec.dvr-ms 0
harness_wait_until 90 shows_time "$title" 1021 || fail "no duration shown"
assert_eq "rec.dvr-ms" "$(drv text "$title" 1001 | tr -d '\r')" "file name"
# The source's duration, in whole seconds, is the recording's span.
duration=$(seconds_of "$(drv text "$title" 1021 | tr -d '\r')")
[ "$duration" -ge $((span - 1)) ] && [ "$duration" -le $((span + 1)) ] ||
  fail "duration $duration s for a recording of $span s"
# The read-out follows the recording to its last seconds, then playback
# stops and shows "0:00:00". (The recording may be short: the loop reads it
# from the first second on.)
latest=0
deadline=$((SECONDS + duration + 60))
while :; do
  shown=$(drv text "$title" 1013 | tr -d '\r')
  [ "$shown" = "0:00:00" ] && [ "$latest" -gt 0 ] && break
  if [[ $shown == *:*:* && $shown != *-* ]] && [ "$(seconds_of "$shown")" -gt "$latest" ]; then
    latest=$(seconds_of "$shown")
  fi
  [ "$SECONDS" -lt "$deadline" ] || fail "playback did not stop at the end: \"$shown\", at most $latest s seen"
  sleep 0.3
done
[ "$latest" -ge $((duration - 3)) ] || fail "the read-out reached only $latest s of $duration s"
# Play (1008) alone is enabled; pause, skips and stop (1007, 1006, 1009, 1018) are not.
assert_eq "1 0 0 0 0" "$(enabled "$title" 1008 1007 1006 1009 1018)" "buttons after the end"
shot=$(take_screenshot end)

# --- the remote's display switch back to the primary display, stopped ----------
# The player never was on the primary display: both windows go where a
# first start puts them on this 1280 x 1024 screen (the panel at three
# quarters of its height), and the stopped player stays stopped.
frames=$(video_frames)
drv post "$title" 0x800A 0 0
wait_rect TelvantisPlayVideo "125 0 1155 582" "video window back from the secondary display"
read -r panel_left panel_top _ <<<"$(rect_of "$title")"
assert_eq 768 "$panel_top" "the panel's top back from the secondary display"
if harness_wait_until 4 frames_above "$frames"; then fail "the display switch starts the stopped player"; fi
assert_eq "1 0 0 0 0" "$(enabled "$title" 1008 1007 1006 1009 1018)" "buttons after the display switch"
shot=$(take_screenshot back-from-secondary)

# --- the About box -------------------------------------------------------------
check_about_box "$title" "TelvantisPlay Version 1.43"

# --- play again from the start ------------------------------------------------
drv key "$title" W
harness_wait_until 30 position_at_least "$title" 1 || fail "play after the end does not start"
position_at_most "$title" 6 || fail "play after the end starts at $(position "$title") s"
shot=$(take_screenshot playing)
assert_image_not_blank "$shot"

# --- a second, longer recording from the Open dialog --------------------------
# The source reads one recording in its life: the player builds a new graph
# for it, and its length shows (a player that loaded it into the old source
# would replay the first under the new name).
out=$(standinsbe record "$(winepath -w "$PWD/buffer")" 45 7 7 1 "$(winepath -w "$PWD/rec2.dvr-ms")") ||
  fail "record: $out"
span2=$(($(value span_ms "$(standinsbe check rec2.dvr-ms)") / 1000))
[ "$span2" -ge $((duration + 5)) ] || fail "the second recording spans $span2 s, the first $duration s"
drv click "$title" 1000
drv wait Open 20 >/dev/null
drv set-text Open 1148 rec2.dvr-ms
drv click Open 1
drv wait-gone Open 20
[[ $(drv text "$title" 1001 | tr -d '\r') == *rec2.dvr-ms ]] || fail "file name after Open: $(drv text "$title" 1001)"
harness_wait_until 30 shows_time "$title" 1021 || fail "no duration shown for the second recording"
duration2=$(seconds_of "$(drv text "$title" 1021 | tr -d '\r')")
[ "$duration2" -ge $((span2 - 1)) ] && [ "$duration2" -le $((span2 + 1)) ] ||
  fail "duration $duration2 s for a second recording of $span2 s"
harness_wait_until 30 position_at_least "$title" 2 || fail "the second recording does not play"
shot=$(take_screenshot second-recording)
assert_image_not_blank "$shot"
drv key "$title" Q
assert_status 0 harness_wait_exit "$PLAYER_PID" 30
# The windows where the display switch put them, now on the primary display.
assert_file_content playconfig.txt "$(printf '125\n0\n1155\n582\n%s\n768\n1\n15\n15\n1\n1\n0' "$panel_left")"
echo "stream-buffer player: all checks passed"
