#!/usr/bin/env bash
# The viewer's sound and exits on the stand-in platform: volume steps and
# mute with their captions, per-channel volume across a restart, and exits
# while minimised, by the close box and into a folder where the settings
# cannot be written.
set -euo pipefail
[ -z "${VIEWER_TEST_TRACE:-}" ] || set -x
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true' EXIT

config_values() { tr -d '\r' <"$1" | sed -n "$2" | tr '\n' ' ' | sed 's/ $//'; }

six_channel_platform

# --- Volume and mute ---
start_case volume
drv key "$panel" R
drv wait "$osd" 5 >/dev/null
harness_wait_until 20 eval '[[ $(drv text "$osd" 1100 | tr -d "\r") =~ ^VOL:\ [0-9]+\.[05]%$ ]]' ||
  fail "no volume caption: $(drv text "$osd" 1100)"
up=$(drv text "$osd" 1100 | tr -d '\r' | sed 's/VOL: \(.*\)%/\1/')
png=$(take_screenshot volume-caption)
assert_image_not_blank "$png"
drv key "$panel" F
down=$(awk -v p="$up" 'BEGIN { printf "%.1f", (p > 0 ? p - 2.5 : 0) }')
expect_caption "VOL: $down%"
drv key "$panel" V
expect_caption "MUTE: ON"
drv key "$panel" R   # while muted the volume key only unmutes
expect_caption "MUTE: OFF"
drv key "$panel" V
expect_caption "MUTE: ON"
drv key "$panel" V
expect_caption "MUTE: OFF"
# The level at exit is the one the last step set.
drv key "$panel" Q
expect_exit
level=$(awk -v p="$down" 'BEGIN { printf "%d", p / 100 * 65535 }')
assert_eq "$level" "$(tr -d '\r' <"$dir/chvols.txt" | sed -n 1p)" "level of 7-1 at exit"

# --- Per-channel volume follows the channel and survives a restart ---
start_case per-channel
drv key "$panel" R
harness_wait_until 20 eval '[[ $(drv text "$osd" 1100 | tr -d "\r") =~ ^VOL: ]]' || fail "no volume caption"
first=$(drv text "$osd" 1100 | tr -d '\r' | sed 's/VOL: \(.*\)%/\1/')
drv key "$panel" W
expect_channel "WSVN2 7-2"
# 7-2 has no level of its own yet: it steps down from 7-1's.
second=$(awk -v p="$first" 'BEGIN { printf "%.1f", p - 2.5 }')
drv key "$panel" F
expect_caption "VOL: $second%"
drv key "$panel" X
expect_channel "WSVN 7-1"
drv key "$panel" Q
expect_exit
level1=$(awk -v p="$first" 'BEGIN { printf "%d", p / 100 * 65535 }')
level2=$(awk -v p="$second" 'BEGIN { printf "%d", p / 100 * 65535 }')
assert_eq "$level1 $level2" "$(config_values "$dir/chvols.txt" 1,2p)" "levels of 7-1 and 7-2"
# The next start sets 7-1's level; 7-2 gets its own back on arrival.
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
expect_channel "WSVN 7-1"
drv key "$panel" W
expect_channel "WSVN2 7-2"
drv key "$panel" Q
expect_exit
assert_eq "$level1 $level2" "$(config_values "$dir/chvols.txt" 1,2p)" "levels after a restart"

# --- Exit while minimised, by the close box: the places saved are the
# restored ones, and the next start is on screen ---
start_case minimised
drv post "$panel" 0x0112 0xF020
harness_wait_until 10 output_is 0 visible "$video" || fail "the video window stays after minimise"
drv post "$panel" 0x0010
expect_exit
assert_eq "100 50 746 416 30 700" "$(config_values "$dir/config.txt" 2,7p)" "places saved while minimised"
start_viewer "$dir"
drv wait "$panel" 60 >/dev/null
expect_channel "WSVN 7-1"
assert_eq "100 50 746 416" "$(rect_of "$video")" "video window after the restart"
png=$(take_screenshot after-minimised-exit)
assert_image_not_blank "$png"

# --- A folder that cannot be written: the exit says so and the old files
# stay whole ---
cp "$dir/config.txt" "$TEST_WORK/config.before"
cp "$dir/chvols.txt" "$TEST_WORK/chvols.before"
drv key "$panel" W
expect_channel "WSVN2 7-2"
# A folder in the place of each file's temporary copy: neither can be made.
mkdir "$dir/config.txt.tmp" "$dir/chvols.txt.tmp"
drv key "$panel" Q
expect_box exclamation "CAN'T SAVE CONFIG.TXT"
expect_box exclamation "CAN'T SAVE CHVOLS.TXT"
expect_exit
cmp -s "$dir/config.txt" "$TEST_WORK/config.before" || fail "config.txt changed"
cmp -s "$dir/chvols.txt" "$TEST_WORK/chvols.before" || fail "chvols.txt changed"
