#!/usr/bin/env bash
# The scheduler's window through its controls: each refusal of ADD with its
# message, an event added, refused overlaps, an edit, a skipped week, a
# removal; edits saved while the engine changes the list under them, and
# edit mode left by Esc, the close box and "Open Scheduler"; OK writing
# schedule.txt and delay.txt; a second start that only brings the first
# one's window forward; a record folder too long for an event; "Exit
# Scheduler".
set -euo pipefail
[ -z "${SCHEDULER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"

title="Telvantis Scheduler- Hauppauge WinTV 885"
form_exe=$(harness_exe telvschedform) || fail "no telvschedform.exe"
state_exe=$(harness_exe telvcontrolstate) || fail "no telvcontrolstate.exe"
form() { harness_tool "$form_exe" "$1" "$title" "${@:2}" >/dev/null || fail "telvschedform $*"; }
rows() { wine "$form_exe" rows "$title" 1017 | tr -d '\r'; }
text() { drv text "$title" "$1" | tr -d '\r'; }
enabled() { wine "$state_exe" enabled "$title" "$@" | tr -d '\r' | tr '\n' ' '; }
# "visible" prints the window's visible flag; is_visible 0|1 tests it.
visible() { drv list | tr -d '\r' | awk -F'\t' -v t="$title" '$5 == t { print $2 }' | head -1; }
is_visible() { [ "$(visible)" = "$1" ]; }
add() { drv click "$title" 1014; }
# expect_rows TEXT WHAT: the list comes to read TEXT (commands are posted).
rows_are() { [ "$(rows)" = "$1" ]; }
expect_rows() { harness_wait_until 15 rows_are "$1" || assert_eq "$1" "$(rows)" "$2"; }
# The window may be busy for a few seconds while the task scheduler service
# of the prefix starts (the first wake-up task look-up): set texts patiently.
set_text() { harness_wait_until 30 harness_driver set-text "$title" "$1" "$2" || fail "cannot set control $1 to $2"; }
set_spins() { set_text 1008 "$1"; set_text 1010 "$2"; }
# The engine's own clock: with scheddebug.txt present each tick adds a line
# "# OF EVENTS: N". after_tick COUNT waits for a tick, after this call, that
# saw COUNT events (the engine then works on the list as it now stands).
ticks() { tr -d '\r' <scheddebug.txt | grep -c '^# OF EVENTS: ' || true; }
ticked_since() { tr -d '\r' <scheddebug.txt | grep '^# OF EVENTS: ' | tail -n +$(( $1 + 1 )) | grep -q "^# OF EVENTS: $2  "; }
after_tick() { local seen; seen=$(ticks); harness_wait_until 15 ticked_since "$seen" "$1" || fail "no clock tick with $1 events"; }
# The engine's "event finished" entry (WM_APP + 20, advance): the event that
# is due now runs out as if its time had come.
finish_due_event() { drv post "$title" 0x8014 1 0 >/dev/null; }
model_key='SOFTWARE\Telvantis\Hauppauge WinTV 885'
# The prefix serves the whole run: the record folder set below is put back
# as it was at the end (the key exported now, imported again then).
record_key="HKLM\\$model_key\\Record"
saved_key=$(winepath -w "$PWD/record-key.reg")
wine reg export "$record_key" "$saved_key" /y >/dev/null 2>&1 || saved_key=
restore_record_key() {
  wine reg delete "$record_key" /v Record /f >/dev/null 2>&1 || true
  [ -z "$saved_key" ] || wine reg import "$saved_key" >/dev/null 2>&1 || true
}
trap restore_record_key EXIT

printf '2\nKAAA 20 2 1\nKBBB 33 7 -1\n' >channels.txt
printf '17\n10\n0\n1040\n582\n300\n600\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0' >config.txt
: >scheddebug.txt

# A Monday at least two days ahead, the Saturday before it, today.
read -r monday_y monday_m monday_d < <(date -d "$(( ( (8 - $(date +%u)) % 7 ) + 7 )) days" '+%Y %-m %-d')
read -r sat_y sat_m sat_d < <(date -d "$monday_y-$monday_m-$monday_d -2 days" '+%Y %-m %-d')
read -r next_y next_m next_d < <(date -d "$monday_y-$monday_m-$monday_d +7 days" '+%Y %-m %-d')
monday_row=$(date -d "$monday_y-$monday_m-$monday_d" '+%a, %b %-d, %Y')
next_row=$(date -d "$next_y-$next_m-$next_d" '+%a, %b %-d, %Y')

start_program TelvantisSched
scheduler=$HARNESS_PID
drv wait "$title" 30 >/dev/null
# The first tick of the clock hides the window; "Open Scheduler" shows it.
harness_wait_until 30 is_visible 0 || fail "the window did not hide"
drv command "$title" 40001
harness_wait_until 30 is_visible 1 || fail "Open Scheduler did not show the window"
assert_eq "DURATION: 00:00" "$(text 1012)" "duration label"
assert_eq "ADD" "$(text 1014)" "button"

# --- ADD refused, one message per rule ---
form combo 1004 1                       # DAILY(M-F) on a Saturday
form date 1002 "$sat_y" "$sat_m" "$sat_d"
add
expect_box plain "DAY IS NOT M-F"
form combo 1004 0                       # today, at the time the window opened
form date 1002 "$(date +%Y)" "$(date +%-m)" "$(date +%-d)"
add
expect_box plain "START TIME HAS PASSED"
form date 1002 "$monday_y" "$monday_m" "$monday_d"
form time 1006 20 0
set_spins 0 0
add
expect_box plain "NO DURATION SPECIFIED"
[ "$(rows)" = "" ] || fail "a refused event was listed"

# --- A weekly recording, Monday 20:00-21:00 ---
set_spins 1 0
assert_eq "DURATION: 1:00" "$(text 1012)" "duration label after the spins"
form combo 1004 2
add
assert_eq "$monday_row|KAAA  2-1|8:00 PM|9:00 PM|01:00|RECORD- LIVE|WEEKLY|CLOSE|" "$(rows)" "list"
monday_dow=2
assert_file_content schedule.txt "1
$monday_dow $monday_m $monday_d $monday_y 20 2 1 20 0 21 0 0 2 0"

# Overlaps are refused at both ends; touching is fine.
form time 1006 20 30
set_spins 1 0
add
expect_box plain "START TIME BETWEEN EXISTING TIME"
form time 1006 19 30
set_spins 1 0
add
expect_box plain "END TIME BETWEEN EXISTING TIME"

# A one-time watch event on the second channel at 22:00: no duration needed.
form combo 1001 1
form combo 1004 0
form time 1006 22 0
form combo 1003 2
assert_eq "0 0 0 " "$(enabled 1007 1008 1010)" "end and duration controls of WATCH LIVE"
assert_eq "DURATION: 00:00" "$(text 1012)" "duration label of WATCH LIVE"
add
assert_eq "$monday_row|KAAA  2-1|8:00 PM|9:00 PM|01:00|RECORD- LIVE|WEEKLY|CLOSE|
$monday_row|KBBB  7-1|10:00 PM|10:00 PM|00:00|WATCH LIVE|ONCE|CLOSE|" "$(rows)" "list with two events"

# --- Edit the recording to 19:00-20:00 ---
form select-row 1017 0
drv command "$title" 40012
drv wait-text "$title" 1014 EDITING 15
assert_eq "0 0 " "$(enabled 1017 1)" "list and OK while editing"
assert_eq "RECORD- LIVE" "$(drv text "$title" 1003 | tr -d '\r')" "type loaded from the event"
form time 1006 19 0
set_spins 1 0
drv command "$title" 40021
drv wait-text "$title" 1014 ADD 15
assert_eq "1 1 " "$(enabled 1017 1)" "list and OK after the edit"
assert_eq "$monday_row|KAAA  2-1|7:00 PM|8:00 PM|01:00|RECORD- LIVE|WEEKLY|CLOSE|" "$(rows | head -1)" "edited row"

# --- Skip a week of it, then remove the watch event ---
form select-row 1017 0
drv command "$title" 40013
expect_rows "$monday_row|KBBB  7-1|10:00 PM|10:00 PM|00:00|WATCH LIVE|ONCE|CLOSE|
$next_row|KAAA  2-1|7:00 PM|8:00 PM|01:00|RECORD- LIVE|WEEKLY|CLOSE|" "list after SKIP WEEK"
form select-row 1017 0
drv command "$title" 40011
expect_rows "$next_row|KAAA  2-1|7:00 PM|8:00 PM|01:00|RECORD- LIVE|WEEKLY|CLOSE|" "list after REMOVE EVENT"
rec_row="$next_row|KAAA  2-1|7:00 PM|8:00 PM|01:00|RECORD- LIVE|WEEKLY|CLOSE|"

# --- The list changes under an edit ---
# Two one-time watch events on KBBB, Monday 21:00 and 22:00, before the recording.
form combo 1001 1
form combo 1004 0
form date 1002 "$monday_y" "$monday_m" "$monday_d"
for hour in 21 22; do
  form time 1006 "$hour" 0
  form combo 1003 2
  add
done
expect_rows "$monday_row|KBBB  7-1|9:00 PM|9:00 PM|00:00|WATCH LIVE|ONCE|CLOSE|
$monday_row|KBBB  7-1|10:00 PM|10:00 PM|00:00|WATCH LIVE|ONCE|CLOSE|
$rec_row" "list with three events"
after_tick 3
# The 22:00 event is edited (row 1); meanwhile the 21:00 one runs and goes,
# so row 1 now holds the recording. The edit is saved over its own event.
form select-row 1017 1
drv command "$title" 40012
drv wait-text "$title" 1014 EDITING 15
finish_due_event
expect_rows "$monday_row|KBBB  7-1|10:00 PM|10:00 PM|00:00|WATCH LIVE|ONCE|CLOSE|
$rec_row" "list after the first event ran"
form combo 1001 0
drv command "$title" 40021
drv wait-text "$title" 1014 ADD 15
expect_rows "$monday_row|KAAA  2-1|10:00 PM|10:00 PM|00:00|WATCH LIVE|ONCE|CLOSE|
$rec_row" "the edit replaced its own event, the recording stayed"
after_tick 2
# The edited event itself runs and goes: the save says so, and edit mode ends.
form select-row 1017 0
drv command "$title" 40012
drv wait-text "$title" 1014 EDITING 15
assert_eq "DURATION: 00:00" "$(text 1012)" "duration label of an edited WATCH LIVE event"
png=$(take_screenshot editing "$title")
assert_image_not_blank "$png"
finish_due_event
expect_rows "$rec_row" "list after the edited event ran"
drv command "$title" 40021
harness_driver msgbox --timeout 30 >/dev/null || fail "no box for an edited event that is gone"
png=$(take_screenshot edited-event-gone)
assert_image_not_blank "$png"
expect_box exclamation "EVENT HAS ALREADY RUN OR BEEN REMOVED"
drv wait-text "$title" 1014 ADD 15
assert_eq "1 1 " "$(enabled 1017 1)" "list and OK after an edit of an event that is gone"
assert_eq "$rec_row" "$(rows)" "list after an edit of an event that is gone"
# Esc, the close box and "Open Scheduler" leave edit mode as CANCEL EDIT EVENT does.
for leave in escape close open; do
  form select-row 1017 0
  drv command "$title" 40012
  drv wait-text "$title" 1014 EDITING 15
  case $leave in
    escape) drv key "$title" ESCAPE >/dev/null ;;
    close) drv post "$title" 0x10 >/dev/null ;;
    open) drv command "$title" 40001 ;;
  esac
  drv wait-text "$title" 1014 ADD 15
  assert_eq "1 1 " "$(enabled 1017 1)" "list and OK after leaving edit mode ($leave)"
  if [ "$leave" != open ]; then
    harness_wait_until 30 is_visible 0 || fail "$leave did not hide the window"
    drv command "$title" 40001
    harness_wait_until 30 is_visible 1 || fail "Open Scheduler did not show the window"
  fi
done
assert_eq "$rec_row" "$(rows)" "list after leaving edit mode"

# --- OK: the list and the delay are saved, the window hides ---
set_text 1015 7
png=$(take_screenshot window "$title")
assert_image_not_blank "$png"
drv click "$title" 1
harness_wait_until 30 is_visible 0 || fail "OK did not hide the window"
assert_file_content schedule.txt "1
$monday_dow $next_m $next_d $next_y 20 2 1 19 0 20 0 0 2 0"
assert_bytes() { cmp -s "$1" <(printf "$2") || fail "$1 holds: $(od -c "$1" | head -3)"; }
assert_bytes delay.txt '7'

# --- A second start brings the first one's window forward and ends ---
start_program TelvantisSched
assert_status 0 harness_wait_exit "$HARNESS_PID" 30
harness_wait_until 30 is_visible 1 || fail "the second start did not show the first window"
[ "$(drv list | tr -d '\r' | awk -F'\t' -v t="$title" '$5 == t' | wc -l)" -eq 1 ] || fail "two scheduler windows"

# --- The record folder is read whole from the registry and checked whole ---
# A folder longer than MAX_PATH is shown as it is, and an event refuses it
# rather than keep a cut, different folder.
long_folder="C:\\$(printf 'R%.0s' {1..295})\\"
wine reg add "$record_key" /v Record /d "$long_folder" /f >/dev/null || fail "cannot set the record folder"
drv command "$title" 40001
drv wait-text "$title" 1013 "$long_folder" 30 >/dev/null || fail "the record folder was not shown: $(text 1013)"
form date 1002 "$monday_y" "$monday_m" "$monday_d"
form time 1006 10 0
set_spins 1 0
add
expect_box plain "FOLDER LONGER THAN 199 CHARACTERS"
assert_eq "$rec_row" "$(rows)" "list after a refused folder"
# An expandable string is expanded.
wine reg add "$record_key" /v Record /t REG_EXPAND_SZ /d '%SystemDrive%\Recordings\' /f >/dev/null ||
  fail "cannot set the record folder"
drv command "$title" 40001
drv wait-text "$title" 1013 'C:\Recordings\' 30 >/dev/null || fail "the expandable folder was not expanded: $(text 1013)"

# --- Exit Scheduler ends the program and keeps the files ---
drv command "$title" 40005
assert_status 0 harness_wait_exit "$scheduler" 30
assert_bytes delay.txt '7'
[ -f schedule.txt ] || fail "schedule.txt went at exit"
