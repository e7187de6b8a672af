#!/usr/bin/env bash
# The remote-control plug-ins, loaded by a stand-in host (telvplughost) and
# driving stand-in viewer and player windows (telvtarget), which write what
# reaches them to targets.log.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

for dll in TelvantisPlugIn.dll TelvantisPlayPlugin.dll; do
  cp "$(harness_exe "$dll")" . || fail "no $dll"
done
host=$(harness_exe telvplughost) || fail "no telvplughost"

# call [--front TITLE] DLL CALL...: the value the export returned.
call() { wine "$host" "$@" | tr -d '\r'; }

# expect_log LINE...: targets.log holds exactly these lines, in this order,
# once every posted message has arrived.
log_is() { [ "$(tr -d '\r' <targets.log 2>/dev/null)" = "$1" ]; }
expect_log() {
  local expected
  expected=$(printf '%s\n' "$@")
  harness_wait_until 10 log_is "$expected" || assert_file_content targets.log "$expected"
}

start_target() {
  start_program telvtarget "$@"
  local title
  for title in "$@"; do drv wait "$title" 20 >/dev/null; done
}

viewer="Telvantis- KWorld ATSC 110"
video="Telvantis Video- KWorld ATSC 110"
other="Telvantis- HDTV Wonder"
outsider="Somebody Else"

# The fixed answers.
assert_eq 14585 "$(call TelvantisPlugIn.dll keys)" "viewer key mask"
assert_eq 0 "$(call TelvantisPlugIn.dll enumerate)" "viewer programmable functions"
assert_eq 12497 "$(call TelvantisPlayPlugin.dll keys)" "player key mask"
assert_eq 0 "$(call TelvantisPlayPlugin.dll enumerate)" "player programmable functions"

# --- Viewer plug-in ---
# Nothing runs yet: nothing is in focus, no key is taken.
assert_eq 0 "$(call TelvantisPlugIn.dll focus)" "focus without a viewer"
assert_eq 0 "$(call TelvantisPlugIn.dll key 33 1)" "key without a viewer"

start_target "$other"
start_target "$viewer" "$video"
start_target "$outsider"

# The video window in front: code 33 posts "D" to its control panel, a digit
# and channel up go there as remote commands, a held volume key repeats.
assert_eq 1 "$(call --front "$video" TelvantisPlugIn.dll focus)" "focus with the video window in front"
assert_eq 1 "$(call --front "$video" TelvantisPlugIn.dll key 33 1)" "code 33 from the video window"
assert_eq 1 "$(call --front "$video" TelvantisPlugIn.dll key 7 1)" "digit 7"
assert_eq 1 "$(call --front "$video" TelvantisPlugIn.dll key 23 1)" "channel up"
assert_eq 1 "$(call --front "$video" TelvantisPlugIn.dll key 25 2)" "volume held"
# Type 2 with code 27, an unknown code, another event type: nothing.
assert_eq 0 "$(call --front "$video" TelvantisPlugIn.dll key 27 2)" "code 27 held"
assert_eq 0 "$(call --front "$video" TelvantisPlugIn.dll key 99 1)" "unknown code"
assert_eq 0 "$(call --front "$video" TelvantisPlugIn.dll key 33 3)" "unknown event type"
# The other viewer's panel in front takes the key itself.
assert_eq 1 "$(call --front "$other" TelvantisPlugIn.dll key 46 1)" "display switch to the other viewer"
# Another program in front: the viewers get nothing.
assert_eq 0 "$(call --front "$outsider" TelvantisPlugIn.dll focus)" "focus with another program in front"
assert_eq 0 "$(call --front "$outsider" TelvantisPlugIn.dll key 33 1)" "key with another program in front"
expect_log "$viewer: KEY D" "$viewer: REMOTE 7 0" "$viewer: REMOTE 0 1" "$viewer: KEY R" \
  "$other: REMOTE 0 10"
: >targets.log

# --- Player plug-in ---
# A player without its video window takes no key.
start_target "Telvantis Play TS"
assert_eq 0 "$(call TelvantisPlayPlugin.dll key 33 1)" "player without a video window"
assert_eq 1 "$(call --front "Telvantis Play TS" TelvantisPlayPlugin.dll focus)" "focus on the TS player"

# Only the TS player running: its control window gets the keys, in front or not.
start_target "TelvantisPlayVideo"
assert_eq 1 "$(call --front "$outsider" TelvantisPlayPlugin.dll key 38 1)" "pause to the TS player"
assert_eq 0 "$(call TelvantisPlayPlugin.dll focus)" "focus with another program in front"
assert_eq 1 "$(call --front TelvantisPlayVideo TelvantisPlayPlugin.dll focus)" "focus on the video window"
assert_eq 1 "$(call TelvantisPlayPlugin.dll key 26 2)" "volume down held"
assert_eq 0 "$(call TelvantisPlayPlugin.dll key 27 2)" "code 27 held"
assert_eq 0 "$(call TelvantisPlayPlugin.dll key 5 1)" "a digit"

# Both players running: the plain player gets them.
start_target "Telvantis Play"
assert_eq 1 "$(call TelvantisPlayPlugin.dll key 33 1)" "skip forward to the plain player"
assert_eq 1 "$(call TelvantisPlayPlugin.dll key 47 1)" "display switch to the plain player"
assert_eq 0 "$(call --front "Telvantis Play TS" TelvantisPlayPlugin.dll focus)" "focus on the TS player beside the plain one"
expect_log "Telvantis Play TS: KEY S" "Telvantis Play TS: KEY I" "Telvantis Play: KEY D" \
  "Telvantis Play: REMOTE 0 0"
