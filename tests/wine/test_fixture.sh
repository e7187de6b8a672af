#!/usr/bin/env bash
# The harness and the test driver against the fixture program: messages,
# keys, clicks, control texts, message boxes, screenshots, exit status.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

title="Telvantis Fixture"
ping="TELVANTIS FIXTURE PING"
status_id=1000

start_program telvfixture "$title"
fixture=$HARNESS_PID
[[ $(drv wait "$title" 30) =~ ^0x[0-9A-F]{8}$ ]] || fail "wait printed no handle"
drv list | grep -qF "TelvantisFixture	$title" || fail "list does not show the fixture"

# Registered messages carry two integers, negative ones too.
drv post-registered "$title" "$ping" 7 42
drv wait-text "$title" $status_id "PING 7 42" 10
wait_for_line fixture.log "PING 7 42" 10
drv post-registered "$title" "$ping" -1 0x10
drv wait-text "$title" $status_id "PING -1 16" 10

# A box without caption or icon, one whose caption defaults to "Error" with
# the stop icon, and one with the question icon and several buttons, where
# the driver must be told which to press.
drv click "$title" 1001
assert_eq "FIXTURE MESSAGE" "$(drv close-msgbox --title "")" "message box text"
wait_for_line fixture.log "MESSAGE CLOSED" 10
drv click "$title" 1002
assert_eq "stop
FIXTURE ERROR" "$(drv close-msgbox --title Error --icon)" "error box icon and text"
drv click "$title" 1003
assert_eq "FIXTURE QUESTION" "$(drv msgbox --title Fixture)" "question box text"
assert_eq "question
FIXTURE QUESTION" "$(drv msgbox --title Fixture --icon)" "question box icon and text"
assert_status 1 harness_driver close-msgbox --title Fixture
assert_eq "FIXTURE QUESTION" "$(drv close-msgbox --title Fixture --button no)" "question box text"
wait_for_line fixture.log "ANSWER NO" 10
# A box without icon, read through the helpers of the tests.
drv click "$title" 1001
expect_box plain "FIXTURE MESSAGE"

# Edit text, a button click, a menu command, a named key.
drv set-text "$title" 1004 "Channel 7"
assert_eq "Channel 7" "$(drv text "$title" 1004)" "name field"
drv click "$title" 1005
drv wait-text "$title" $status_id "NAME Channel 7" 10
drv command "$title" 40001
drv wait-text "$title" $status_id "HELLO" 10
drv key "$title" RETURN
drv wait-text "$title" $status_id "KEY 13" 10

# Failures are reported as such.
assert_status 1 harness_driver find "Telvantis Fixture Two"
assert_status 1 harness_driver wait "telvantis fixture" 0.3
assert_status 1 harness_driver text "$title" 1999
assert_status 1 harness_driver msgbox --timeout 0.3
assert_status 2 harness_driver post "$title" WM_CLOSE
assert_status 2 harness_driver no-such-command

# A window whose thread does not answer: a command that sends to it fails
# within the driver's limit (30 s) instead of hanging, naming the command
# and the window.
drv command "$title" 40003
said=$( { harness_driver text "$title" 1004 2>&1 >/dev/null; echo "status $?"; } )
[[ $said == *"status 1" ]] || fail "a read from a blocked window: $said"
[[ $said == *'control 1004 of the window "Telvantis Fixture" did not answer WM_GETTEXT'* ]] ||
  fail "the driver's failure does not name the window and the message: $said"
[[ $said == *'telvdriver.exe" text "Telvantis Fixture" 1004'* ]] || fail "the failure does not name the command: $said"
# The harness shows what the window's thread was doing: the fixture's own
# frame, named, on its way into Sleep.
[[ $said == *"Sleep"*"<- "*FixtureWindow* ]] || fail "no stack of the blocked thread: $said"
# Once its thread is free again, the window answers as before.
wait_for_line fixture.log "UNBLOCKED" 75
drv wait-text "$title" $status_id "UNBLOCKED" 20

# The picture shows the window: its size, and more than one colour.
png=$(take_screenshot window "$title")
assert_eq "480x200" "$(identify -format '%wx%h' "$png")" "window screenshot size"
assert_image_not_blank "$png"
assert_image_not_blank "$(take_screenshot desktop)"

# Q closes the window and the program ends normally.
drv key "$title" Q
drv wait-gone "$title" 10
assert_status 0 harness_wait_exit "$fixture" 10
assert_file_content fixture.log "PING 7 42
PING -1 16
MESSAGE CLOSED
ERROR CLOSED
ANSWER NO
MESSAGE CLOSED
NAME Channel 7
HELLO
KEY 13
UNBLOCKED
KEY 81
CLOSED"
