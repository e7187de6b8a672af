#!/usr/bin/env bash
# The channel scan. A first run from an empty folder opens the setup
# window's "Channel Setup" tab and its "SCAN..." window: STOP during a scan
# keeps the channels found so far, and closing the window adds none of
# them; a whole scan of RF 2 to 36 finds the six visible channels of the
# default antenna by their names (not the hidden 33-4) and names RF 12,
# which has a signal but no channel table; ADD CHANNELS and OK write them to
# channels.txt, the panel's channel button steps through them, and a
# second scan offers nothing new.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

controls_exe=$(harness_exe telvcommoncontrols) || fail "no telvcommoncontrols.exe"
controls() { harness_tool "$controls_exe" "$@" | tr -d '\r'; }
text() { drv text "$@" | tr -d '\r'; }
row_count() { controls rows "$1" "$2" | grep -c . || true; }
# found_at_least N: the scan window lists N channels or more (read anew on
# every try).
found_at_least() { [ "$(row_count "$scan" $found)" -ge "$1" ]; }

setup="Telvantis Setup"
scan="Telvantis Channel Scan"
tabs=3000
# The scan window's controls.
from=3090 to=3092 start=3094 status=3096 notes=3097 found=3098 add=3099 close=2

# The default antenna, and RF 12 with a signal whose stream sends no
# channel tables.
bash "$harness_top/tools/make-antenna.sh" "$TEST_WORK/antenna" 4 >/dev/null || fail "make-antenna.sh failed"
tsgen=""
for candidate in "$harness_top/build/native/tools/tsgen" "$harness_top"/build/*native*/tools/tsgen; do
  [ -x "$candidate" ] && { tsgen=$candidate; break; }
done
[ -n "$tsgen" ] || fail "no tsgen"
"$tsgen" --out "$TEST_WORK/antenna/rf12.ts" --seconds 2 --program 1:0x30:720x480 >/dev/null ||
  fail "tsgen failed"
printf '%s\n' "RF 12 SIGNAL 50 FILE rf12.ts" "CHANNEL 12 1 PROGRAM 1" >>"$TEST_WORK/antenna/antenna.txt"
install_platform "$TEST_WORK/antenna/antenna.txt"
virtual_tuner "$tuner" "$capture"

all_rows=$'WSVN\t7-1\t7\nWSVN_HD\t7-2\t7\nWNIN\t9-1\t9\nWTTT\t33-1\t33\nWTTT2\t33-2\t33\nWTTT3\t33-3\t33'

open_scan() {
  controls tab "$setup" $tabs 3
  drv click "$setup" 3057
  drv wait-shown "$scan" 20 >/dev/null
}

# --- First run: an empty folder ---
dir=$(case_folder first-run)
start_viewer "$dir"
drv wait-shown "$setup" 60 >/dev/null
open_scan
assert_eq "2 36 START" "$(text "$scan" $from) $(text "$scan" $to) $(text "$scan" $start)" "fresh scan window"
assert_eq "" "$(controls rows "$scan" $found)" "fresh list"

# STOP once RF 7's channels are in: the scan ends at once and keeps them.
drv set-text "$scan" $from 7
drv click "$scan" $start
drv wait-text "$scan" $start STOP 20
harness_wait_until 30 found_at_least 2 || fail "RF 7 gave no channels"
# While it runs, the status line names the RF channel tried and its signal.
trying=$(text "$scan" $status)
[[ $trying =~ ^RF\ [0-9]+:\ (NO\ SIGNAL|SIGNAL\ [0-9]+%)$ ]] || fail "status while scanning: \"$trying\""
drv click "$scan" $start
drv wait-text "$scan" $start START 20
kept=$(row_count "$scan" $found)
assert_eq "SCAN STOPPED: $kept CHANNELS FOUND" "$(text "$scan" $status)" "status after STOP"
assert_eq $'WSVN\t7-1\t7\nWSVN_HD\t7-2\t7' "$(controls rows "$scan" $found | head -2)" "rows kept"
sleep 3
assert_eq "$kept" "$(row_count "$scan" $found)" "rows after STOP"
# Closing adds nothing.
drv click "$scan" $close
drv wait-gone "$scan" 20
assert_eq "" "$(controls rows "$setup" 3049)" "list after closing the scan"

# The whole default range.
open_scan
drv click "$scan" $start
drv wait-text "$scan" $start STOP 20
drv wait-text "$scan" $status "SCAN DONE: 6 CHANNELS FOUND" 120
assert_eq "$all_rows" "$(controls rows "$scan" $found)" "channels found"
assert_eq "RF 12: SIGNAL, NO CHANNEL TABLE" "$(text "$scan" $notes)" "RF channels without a table"
sleep 1
png=$(take_screenshot scan-done "$scan")
assert_image_not_blank "$png"
drv click "$scan" $add
drv wait-gone "$scan" 20
assert_eq "$all_rows" "$(controls rows "$setup" 3049)" "setup list"
[ ! -e "$dir/channels.txt" ] || fail "channels.txt written before OK"
drv click "$setup" 1
drv wait-gone "$setup" 20
drv wait "$panel" 20 >/dev/null
assert_bytes "$dir/channels.txt" '6\nWSVN 7 7 1\nWSVN_HD 7 7 2\nWNIN 9 9 1\nWTTT 33 33 1\nWTTT2 33 33 2\nWTTT3 33 33 3\n'

# A second scan offers nothing new; ADD CHANNELS with nothing adds nothing.
drv click "$panel" 1011
drv wait-shown "$setup" 20 >/dev/null
open_scan
drv click "$scan" $start
drv wait-text "$scan" $status "SCAN DONE: 0 CHANNELS FOUND" 120
assert_eq "" "$(controls rows "$scan" $found)" "second scan"
drv click "$scan" $add
drv wait-gone "$scan" 20
assert_eq "$all_rows" "$(controls rows "$setup" 3049)" "setup list after the second scan"
# The live graph has the tuner again: a channel of the list tunes and shows.
controls select-row "$setup" 3049 0
drv wait-text "$setup" 3040 WSVN 10
drv click "$setup" 3047
drv wait-text "$panel" 1004 "WSVN 7-1" 20
drv wait-text "$setup" 3048 "80%" 30
sleep 2
png=$(take_screenshot live-after-scan "$video")
assert_image_not_blank "$png"
drv click "$setup" 1
drv wait-gone "$setup" 20
# The panel's channel button steps through the channels found, each with
# its own pictures, and round to the first. (A channel's first minor
# channel is tuned by its RF channel alone: the card names the RF channel.)
for step in "WSVN_HD 7-2|7-2 PROGRAM 2" "WNIN 9-1|RF 9 PROGRAM 1" "WTTT 33-1|RF 33 PROGRAM 1" \
  "WTTT2 33-2|33-2 PROGRAM 2" "WTTT3 33-3|33-3 PROGRAM 3" "WSVN 7-1|RF 7 PROGRAM 1"; do
  drv click "$panel" 1001
  expect_channel "${step%|*}"
  harness_wait_until 30 card_shows "${step#*|}" ||
    fail "the test card does not name ${step#*|}: $(wine reg query "$standin_key\\Decoders" /v VideoProgram 2>/dev/null | tr -d '\r' | grep VideoProgram)"
done
drv click "$panel" 1
expect_exit
assert_bytes "$dir/channels.txt" '6\nWSVN 7 7 1\nWSVN_HD 7 7 2\nWNIN 9 9 1\nWTTT 33 33 1\nWTTT2 33 33 2\nWTTT3 33 33 3\n'
# The scans and live television filled guide.txt with every station's
# programmes at their UTC starts: minute 0 of the antenna's guide is its
# start rounded down to the minute.
start=$(sed -n 's/^# The streams start at \([0-9]*\) .*/\1/p' "$TEST_WORK/antenna/antenna-guide.txt")
minute0=$((start - start % 60))
has_programme() {  # MAJOR MINOR START-MINUTE LENGTH-MINUTES TITLE
  tr -d '\r' <"$dir/guide.txt" | awk -F'\t' -v ma="$1" -v mi="$2" -v s="$(($minute0 + $3 * 60))" \
    -v l="$(($4 * 60))" -v t="$5" '$1 == ma && $2 == mi && $4 == s && $5 == l && $6 == t { found = 1 } END { exit !found }' ||
    fail "guide.txt lacks $1-$2 \"$5\" at minute $3"
}
[ -s "$dir/guide.txt" ] || fail "no guide.txt"
has_programme 7 1 2 2 "Weather Now"
has_programme 7 1 4 2 "Traffic Desk"
has_programme 9 1 0 60 "Nature Hour"
has_programme 33 2 3 2 "Quiz Time"
has_programme 33 2 6 2 "Quiz Time"
has_programme 33 3 0 120 "Kids Club"
