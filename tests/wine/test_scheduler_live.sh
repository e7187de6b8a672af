#!/usr/bin/env bash
# A WATCH LIVE event on the real clock, a minute or two ahead, with the
# viewer open on another channel: the scheduler warns, closes its warning,
# tells the viewer to change channel (the viewer tunes the event's channel
# and shows it) and logs the event in scheduler.txt. A TIMESHIFT event the
# minute after tunes back and puts the viewer into timeshift, paused. With
# the viewer's window up, the tray menu grays "Open Telvantis" and "Open
# Silent Record".
set -euo pipefail
[ -z "${SCHEDULER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

# The prefix serves the whole run: the folder values set here are removed
# at the end, for the tests that expect none.
clean_up() {
  wine "$devices_exe" clear >/dev/null 2>&1 || true
  remove_folder_values Timeshift
}
trap clean_up EXIT

title="Telvantis Scheduler- Hauppauge WinTV 885"
two_channel_platform
mkdir -p "$TEST_WORK/buffer"
set_viewer_folder Timeshift "$TEST_WORK/buffer"

# WATCH LIVE on WTWO from the minute after next, until a minute later; then
# TIMESHIFT on WTST.
start=$(( ($(date +%s) / 60 + 2) * 60 ))
read -r dow month day year hour minute < <(date -d "@$start" '+%u %-m %-d %Y %-H %-M')
read -r dow2 month2 day2 year2 hour2 minute2 < <(date -d "@$(( start + 60 ))" '+%u %-m %-d %Y %-H %-M')
printf '2\n%s %s %s %s 7 10 2 %s %s %s %s 2 0 0\n\n%s %s %s %s 7 10 1 %s %s %s %s 3 0 0\n\n' \
  "$(( dow % 7 + 1 ))" "$month" "$day" "$year" "$hour" "$minute" "$hour2" "$minute2" \
  "$(( dow2 % 7 + 1 ))" "$month2" "$day2" "$year2" "$hour2" "$minute2" "$hour2" "$minute2" >schedule.txt
stamp_minute="$month/$day/$year-$hour:$minute:"

start_viewer "$TEST_WORK"
drv wait "$panel" 60 >/dev/null
drv wait-text "$panel" 1004 "WTST 10-1" 30
start_program TelvantisSched
scheduler=$HARNESS_PID
drv wait "$title" 30 >/dev/null

# Twenty seconds before: the warning box; ten seconds before it is closed
# and the viewer is told to change channel.
drv wait "SCHEDULER EVENT" 170 >/dev/null
png=$(take_screenshot warning)
drv wait-gone "SCHEDULER EVENT" 30
drv wait-text "$panel" 1004 "WTWO 10-2" 30
wait_for_line scheduler.txt "TELVANTIS ALREADY OPEN" 5
harness_wait_until 30 grep -q "^WATCH LIVE: $stamp_minute" scheduler.txt ||
  fail "no WATCH LIVE entry: $(cat scheduler.txt)"
assert_image_not_blank "$png"

# The tray menu with the viewer's window up; Wine lets no other process
# read a menu's items (status 3), so then the screenshot tells their states.
form_exe=$(harness_exe telvschedform) || fail "no telvschedform.exe"
status=0
menu=$(wine "$form_exe" tray-menu "$title" | tr -d '\r') || status=$?
[ "$status" -ne 0 ] || assert_eq "Open Scheduler|enabled
Open Telvantis|grayed
Open Silent Record|grayed
Open Telvantis Play|enabled
Exit Scheduler|enabled" "$menu" "tray menu, the viewer open"
[ "$status" -eq 0 ] || [ "$status" -eq 3 ] || fail "the tray icon opened no menu"
png=$(take_screenshot tray-menu-viewer)
if [ "$status" -eq 3 ]; then
  rect=$(wine "$form_exe" menu-rect "$title" | tr -d '\r') || fail "the open menu has no rectangle"
  assert_eq "enabled grayed grayed enabled enabled" "$(menu_item_states "$png" $rect | xargs)" \
    "tray menu as drawn, the viewer open"
fi
wine "$form_exe" close-menu "$title"
assert_image_not_blank "$png"

# TIMESHIFT: back to WTST, then timeshift on and paused in the start minute.
drv wait "SCHEDULER EVENT" 90 >/dev/null
drv wait-gone "SCHEDULER EVENT" 30
drv wait-text "$panel" 1004 "WTST 10-1" 30
drv wait-text "$panel" 1020 "ON+PAUSE" 40
harness_wait_until 30 grep -q "^TIMESHIFT: $month2/$day2/$year2-$hour2:$minute2:" scheduler.txt ||
  fail "no TIMESHIFT entry: $(cat scheduler.txt)"
harness_wait_until 10 test ! -e schedule.txt || fail "the one-time events stayed in schedule.txt"

drv command "$title" 40005
assert_status 0 harness_wait_exit "$scheduler" 30
drv click "$panel" 1
expect_exit
