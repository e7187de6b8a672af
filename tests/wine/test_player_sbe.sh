#!/usr/bin/env bash
# The stream-buffer player on a recording made by the stand-in stream
# buffer from the virtual tuner: started with the recording on its command
# line it shows the recording's length, plays it from start to end and stops
# at "0:00:00" with only play enabled, and plays again from the start; its
# About box names it; Q writes playconfig.txt as it was read.
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

start_player "$title" TelvantisPlay rec.dvr-ms
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

# --- the About box -------------------------------------------------------------
check_about_box "$title" "TelvantisPlay Version 1.43"

# --- play again from the start ------------------------------------------------
drv key "$title" W
harness_wait_until 30 position_at_least "$title" 1 || fail "play after the end does not start"
position_at_most "$title" 6 || fail "play after the end starts at $(position "$title") s"
shot=$(take_screenshot playing)
assert_image_not_blank "$shot"
drv key "$title" Q
assert_status 0 harness_wait_exit "$PLAYER_PID" 30
assert_file_content playconfig.txt "$(printf '40\n20\n686\n386\n300\n800\n1\n15\n15\n1\n1\n0')"
echo "stream-buffer player: all checks passed"
