#!/usr/bin/env bash
# TelvantisSchedTS: its own title, the transport-stream recorder and player
# from the tray menu, its ADD button clearing the list selection when it
# takes the focus, and a RECORD- SILENT event on the real clock a minute or
# two ahead: silentevent.txt written, "TelvantisSRTS.exe /LOCKTELVANTISSR"
# started at the event, the one-time event gone from schedule.txt. Stand-ins
# take the recorder's and the player's names and note how they were started.
set -euo pipefail
[ -z "${SCHEDULER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"

title="Telvantis Scheduler TS- Hauppauge WinTV 885"
standin=$(harness_exe telvstandinprogram) || fail "no telvstandinprogram.exe"
cp "$standin" TelvantisSRTS.exe
cp "$standin" TelvantisPlayTS.exe
recorder_starts() { tr -d '\r' <started.txt 2>/dev/null | grep -cxF "TelvantisSRTS.exe /LOCKTELVANTISSR" || true; }
recorder_started() { [ "$(recorder_starts)" = "$1" ]; }
form_exe=$(harness_exe telvschedform) || fail "no telvschedform.exe"
form() { harness_tool "$form_exe" "$1" "$title" "${@:2}" >/dev/null || fail "telvschedform $*"; }
rows() { wine "$form_exe" rows "$title" 1017 | tr -d '\r'; }
is_visible() { [ "$(drv list | tr -d '\r' | awk -F'\t' -v t="$title" '$5 == t { print $2 }' | head -1)" = "$1" ]; }

printf '2\nKAAA 20 2 1\nKBBB 33 7 -1\n' >channels.txt
printf '17\n10\n0\n1040\n582\n300\n600\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0' >config.txt

# A silent recording on KBBB from the minute after next, one minute long.
start=$(( ($(date +%s) / 60 + 2) * 60 ))
end=$(( start + 60 ))
read -r dow month day year hour minute < <(date -d "@$start" '+%u %-m %-d %Y %-H %-M')
read -r end_hour end_minute < <(date -d "@$end" '+%-H %-M')
printf '1\n%s %s %s %s 33 7 1 %s %s %s %s 1 0 1\nD:\\Silent\\\n' \
  "$(( dow % 7 + 1 ))" "$month" "$day" "$year" "$hour" "$minute" "$end_hour" "$end_minute" >schedule.txt

start_program TelvantisSchedTS
scheduler=$HARNESS_PID
drv wait "$title" 30 >/dev/null

# The tray menu's recorder and player items start the TS programs.
drv command "$title" 40004
wait_for_line started.txt "TelvantisPlayTS.exe " 30
drv command "$title" 40003
harness_wait_until 30 recorder_started 1 || fail "Open Silent Record started no TelvantisSRTS.exe: $(cat started.txt)"

# ADD taking the focus clears the list selection: a REMOVE EVENT after it
# finds no row to remove. The form, opened now, holds a start that has passed.
harness_wait_until 30 is_visible 0 || fail "the window did not hide"
drv command "$title" 40001
harness_wait_until 30 is_visible 1 || fail "Open Scheduler did not show the window"
event_row=$(rows)
[ -n "$event_row" ] || fail "the event is not listed"
form focus 1017
form select-row 1017 0
drv click "$title" 1014
expect_box plain "START TIME HAS PASSED"
drv command "$title" 40011
drv click "$title" 1014
expect_box plain "START TIME HAS PASSED"
assert_eq "$event_row" "$(rows)" "list after REMOVE EVENT with the selection cleared by ADD"

# The event: the hand-off 5 s before, the recorder 1 s before the start.
harness_wait_until 170 recorder_started 2 || fail "no recorder started for the event"
now=$(date +%s)
[ "$now" -ge $(( start - 5 )) ] && [ "$now" -le $(( start + 20 )) ] ||
  fail "the recorder started at $(date -d "@$now" +%T), the event at $(date -d "@$start" +%T)"
assert_file_content silentevent.txt "33 7 1 $end_hour $end_minute 1
D:\\Silent\\"
harness_wait_until 10 test ! -e schedule.txt || fail "the one-time event stayed in schedule.txt"

drv command "$title" 40005
assert_status 0 harness_wait_exit "$scheduler" 30
