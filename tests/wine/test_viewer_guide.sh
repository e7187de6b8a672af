#!/usr/bin/env bash
# The programme guide: the viewer collects the tuned station's guide from
# the broadcast into guide.txt, and "Telvantis Guide" (key E) lists it at
# its local times. RECORD starts the scheduler and hands it the programme
# with the padded times; RECORD on an overlapping programme shows the scheduler's
# refusal; RECORD SERIES on a title shown every three minutes hands each
# showing over once, the one that overlaps listed under the rule; a RECORD
# refused after the guide was closed comes in a box; the
# recording is made at its time and plays, and back at live television the
# guide of the next RF channel tuned is collected.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

clean_up() {
  wine "$devices_exe" clear >/dev/null 2>&1 || true
  remove_folder_values Record Timeshift
}
trap clean_up EXIT

guide_title="Telvantis Guide"
scheduler_title="Telvantis Scheduler- Hauppauge WinTV 885"
form_exe=$(harness_exe telvschedform) || fail "no telvschedform.exe"
rows() { wine "$form_exe" rows "$guide_title" "$1" | tr -d '\r'; }
text() { harness_driver text "$guide_title" "$1" | tr -d '\r'; }
status_is() { [[ $(text 3260) == $1 ]]; }
# select_programme TITLE [NTH]: selects the NTH (default 1) row of the
# programme list with this title.
select_programme() {
  local row
  row=$(rows 3221 | awk -F'|' -v t="$1" -v n="${2:-1}" '$3 == t && ++seen == n { print NR - 1; exit }')
  [ -n "$row" ] || fail "no \"$1\" in the guide's list: $(rows 3221)"
  wine "$form_exe" select-row "$guide_title" 3221 "$row" || fail "cannot select \"$1\""
  drv wait-text "$guide_title" 3210 "$1" 10
}
# local_time UTC: the list's TIME text of an instant ("Wed Dec 9 11:42 PM").
local_time() { date -d "@$1" '+%a %b %-d %-I:%M %p'; }
# event_line UTC_START UTC_END CHANNEL: schedule.txt's line of a one-time
# RECORD-LIVE event that closes the viewer when done.
event_line() {
  local dow month day year hour minute end_hour end_minute
  read -r dow month day year hour minute < <(date -d "@$1" '+%u %-m %-d %Y %-H %-M')
  read -r end_hour end_minute < <(date -d "@$2" '+%-H %-M')
  echo "$(( dow % 7 + 1 )) $month $day $year $3 $hour $minute $end_hour $end_minute 0 0 0"
}
events_of() { tr -d '\r' <schedule.txt | grep -c " $1 [0-9]* [0-9]* [0-9]* [0-9]* 0 0 0$" || true; }

six_channel_platform
register_stream_buffer
record_dir="$TEST_WORK/recordings"
mkdir -p "$record_dir" "$TEST_WORK/buffer"
set_recording_folders "$record_dir" "$TEST_WORK/buffer"
rm -f schedule.txt series.txt guide.txt
# The settings a viewer leaves at exit: the scheduler takes its tuner model
# (17, the WinTV 885) from them.
printf '17\n125\n0\n1155\n582\n300\n600\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0' >config.txt

# The antenna is made again once the platform is set up (which took minutes
# on a busy machine), its minute 0 two to three minutes ahead, so that the
# padded recording of "Weather Now" (minutes 2 to 4, one minute early and
# two late) starts after the guide has been read, the events handed over
# and the scheduler started anew: about 45 s of steps here, three times as
# long on a busy machine.
export ANTENNA_START=$(( $(date +%s) + 180 ))
minute0=$(( ANTENNA_START - ANTENNA_START % 60 ))
recording_start=$(( minute0 + 60 ))
# ahead_of_recording STEP: fails unless STEP comes 30 s or more before the
# recording's start. The series' refusal needs Weather Now's event still
# listed, and a scheduler started anew drops a one-time event whose start
# has passed: a step that late would fail later and say less.
ahead_of_recording() {
  (( $(date +%s) < recording_start - 30 )) ||
    fail "$1 comes too late: Weather Now's recording starts at $(date -d "@$recording_start" +%T)"
}
echo "step: the antenna, minute 0 at $(date -d "@$minute0" '+%H:%M')"
make_default_antenna

echo "step: the viewer on 7-1, from a folder that holds the scheduler too"
# As installed: the viewer starts TelvantisSched.exe from its own folder.
programs="$TEST_WORK/programs"
mkdir -p "$programs"
cp "$viewer_exe" "$(harness_exe TelvantisSched)" "$programs/"
harness_start "$TEST_WORK" "$programs/Telvantis.exe"
VIEWER_PID=$HARNESS_PID
drv wait-shown "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WSVN 7-1" 30
echo "step: guide.txt gets the station's guide"
# programme_at MAJOR MINOR TITLE: "start length" of its first line in guide.txt.
programme_at() { awk -F'\t' -v a="$1" -v b="$2" -v t="$3" '$1 == a && $2 == b && $6 == t { print $4, $5; exit }' guide.txt; }
has_programme() { [ -n "$(programme_at "$@" 2>/dev/null)" ]; }
harness_wait_until 90 has_programme 7 1 "Traffic Desk" || fail "no guide collected: $(head -c 600 guide.txt 2>&1)"
assert_eq "$((minute0 + 120)) 120" "$(programme_at 7 1 "Weather Now")" "Weather Now in guide.txt"

echo "step: key E opens the guide on the channel watched"
drv key "$panel" E
drv wait-shown "$guide_title" 30 >/dev/null
list=$(rows 3221)
echo "$list"
grep -qxF "$(local_time $((minute0 + 120)))|0:02|Weather Now" <<<"$list" || fail "Weather Now not listed at its time"
grep -qxF "$(local_time $((minute0 + 240)))|0:02|Traffic Desk" <<<"$list" || fail "Traffic Desk not listed at its time"
assert_eq "1" "$(text 3240)" "Start early"
assert_eq "2" "$(text 3242)" "End late"
png=$(take_screenshot guide)
assert_image_not_blank "$png"

echo "step: RECORD with the scheduler closed starts it and hands the programme over with its padding"
select_programme "Weather Now"
drv click "$guide_title" 3231
drv wait "$scheduler_title" 60 >/dev/null
harness_wait_until 60 status_is "RECORDING SCHEDULED: Weather Now *" || fail "no answer: \"$(text 3260)\""
assert_file_has_line schedule.txt "$(event_line $((minute0 + 60)) $((minute0 + 360)) '7 7 1')"

echo "step: RECORD on an overlapping programme shows the scheduler's refusal"
select_programme "Traffic Desk"
drv click "$guide_title" 3231
harness_wait_until 30 status_is "START TIME BETWEEN EXISTING TIME" || fail "no refusal: \"$(text 3260)\""
assert_eq 1 "$(events_of '7 7 1')" "events on 7-1"

echo "step: 33-2's guide, then RECORD SERIES of Quiz Time without padding"
drv key "$guide_title" ESCAPE
drv wait-gone "$guide_title" 10
# Down from the first channel round to the last: RF 9 stays untuned until
# the end, where its guide shows that collecting goes on after a recording.
drv key "$panel" S
drv key "$panel" S
drv wait-text "$panel" 1004 "WTTT2 33-2" 30
harness_wait_until 60 has_programme 33 2 "Quiz Time" || fail "no guide of 33-2"
drv key "$panel" E
drv wait-shown "$guide_title" 30 >/dev/null
drv set-text "$guide_title" 3240 0
drv set-text "$guide_title" 3242 0
select_programme "Quiz Time"
ahead_of_recording "RECORD SERIES"
drv click "$guide_title" 3232
# Ten showings: the first overlaps Weather Now's recording and is refused,
# the other nine are scheduled, each once.
series_done() { [ "$(grep -c '^\(HANDED\|REFUSED\)' series.txt 2>/dev/null)" = 10 ] && [ "$(events_of '33 33 2')" = 9 ]; }
harness_wait_until 120 series_done ||
  fail "series not handed over: $(cat series.txt 2>&1) / $(events_of '33 33 2') events"
grep -qxF "REFUSED $((minute0 + 180)) END TIME BETWEEN EXISTING TIME" series.txt ||
  grep -qxF "REFUSED $((minute0 + 180)) START TIME BETWEEN EXISTING TIME" series.txt ||
  fail "the overlapping showing is not refused: $(cat series.txt)"
assert_eq "RULE 33 2 Quiz Time" "$(head -n 1 series.txt | tr -d '\r')" "the series rule"
rows 3250 | grep -q "refused .*EXISTING TIME" || fail "the refusal is not listed: $(rows 3250)"
png=$(take_screenshot guide-series)
drv click "$guide_title" 3232
harness_wait_until 10 status_is "THIS SERIES IS ALREADY BEING RECORDED" || fail "a second rule: \"$(text 3260)\""
assert_eq 9 "$(events_of '33 33 2')" "each showing handed once"

echo "step: with the scheduler closed, a RECORD refused after the guide closed comes in a box"
ahead_of_recording "the scheduler's restart"
drv command "$scheduler_title" 40005
drv wait-gone "$scheduler_title" 30
# The second showing is scheduled already: the scheduler, started anew by
# RECORD, refuses it once the guide is closed. The key closing the guide
# follows the click from the same driver: a driver started anew can take
# longer on a busy machine than the scheduler takes to start and answer,
# and the answer then rightly goes to the open guide's status line.
select_programme "Quiz Time" 2
drv click "$guide_title" 3231 --then key "$guide_title" ESCAPE
expect_box exclamation "START TIME BETWEEN EXISTING TIME"
drv wait "$scheduler_title" 30 >/dev/null

echo "step: the recording of Weather Now is made at its time and plays"
drv wait "Recording Now" 240 >/dev/null
drv wait-text "$panel" 1004 "WSVN 7-1" 10
harness_wait_until 60 grep -q "^RECORD LIVE:" scheduler.txt || fail "no RECORD LIVE entry: $(cat scheduler.txt)"
# A few seconds of it are enough: the recording's end at its time is the
# scheduler tests' part.
# The elapsed clock of "Recording Now" reads "00:00", then "H:MM:SS".
recorded_a_while() {
  local t
  t=$(harness_driver text "Recording Now" 4019 | tr -d '\r') || return 1
  [ "$t" != "00:00" ] && [ $((10#$(cut -d: -f2 <<<"$t") * 60 + 10#${t##*:})) -ge 4 ]
}
harness_wait_until 60 recorded_a_while || fail "the recording does not run"
file=$(ls -t "$record_dir" | grep -v '^stub_' | head -1)
drv key "$panel" U
harness_wait_until 30 grep -q "^RECORDING STOPPED: " scheduler.txt || fail "the recording did not stop"
duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$record_dir/$file") ||
  fail "ffprobe cannot read $file"
awk -v d="$duration" 'BEGIN { exit !(d > 2) }' || fail "$file lasts $duration s"

echo "step: back at live television the guide of another RF channel is collected"
drv key "$panel" W
drv key "$panel" W
drv wait-text "$panel" 1004 "WNIN 9-1" 30
harness_wait_until 60 has_programme 9 1 "Nature Hour" || fail "no guide of 9-1 after the recording"

echo "step: exit"
drv command "$scheduler_title" 40005
drv post "$panel" 0x0010 || true  # a recording that closes when done may have closed it
expect_exit
echo "viewer guide: all checks passed"
