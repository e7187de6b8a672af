#!/usr/bin/env bash
# The stand-in stream-buffer engine: calls at their limits; two minutes of the
# virtual tuner's 7-1 through the video stream analyser into the sink, with a
# content recording, a ring of 15-second backing files whose start moves on,
# a timeshift source that pauses 15 s while the sink goes on and jumps back to
# live, and the recording read while it grows; then the recording checked by
# our reader and by ffprobe (no gap in time stamps or continuity counters),
# and played through the source from start to end, from 30 s and at 4x;
# plain IMediaSeeking only for a finished recording; a reader paused past the
# ring's start meets a time hole, told to the graph.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

tsgen=$harness_top/build/native/tools/tsgen
[ -x "$tsgen" ] || fail "no native tsgen: build the native tree first"
source "$harness_top/tools/standin-install.sh"
TSGEN=$tsgen bash "$harness_top/tools/make-antenna.sh" antenna 4 >/dev/null || fail "make-antenna.sh failed"
standin_install --clear-devices --tuner "Stand-in Tuner" --capture "Stand-in Capture" \
  --antenna "$PWD/antenna/antenna.txt" --fail "" >/dev/null || fail "standin-install.sh failed"
cp "$(harness_exe standinsbe)" . || fail "no standinsbe.exe"

standinsbe() { wine ./standinsbe.exe "$@" | tr -d '\r'; }
value() { sed -n "s/^$1=//p" <<<"$2"; }
# within LOW HIGH VALUE WHAT
within() { [ "$3" -ge "$1" ] && [ "$3" -le "$2" ] || fail "$4: $3 is not within $1..$2"; }
win() { winepath -w "$1"; }

# --- calls at their limits ----------------------------------------------------
out=$(standinsbe edges "$(win "$PWD")") || fail "edges: $out"
echo "$out"
for name in count_too_few count_reversed duration_too_short directory_empty recorder_unknown_type \
  rate_zero rate_slow; do
  assert_eq 0x80070057 "$(value $name "$out")" "$name"
done
assert_eq 0x80004003 "$(value directory_null "$out")" "SetDirectory(NULL)"
assert_eq 0x00000000 "$(value directory_nested "$out")" "SetDirectory of a folder to make"
[ -d made ] || fail "SetDirectory did not make the folder"
assert_eq 1 "$(value directory_same "$out")" "GetDirectory"
assert_eq 0x80070005 "$(value lock_without_key "$out")" "LockProfile of a sink given no key (global namespace)"
assert_eq 0x80070003 "$(value lock_missing_folder "$out")" "LockProfile in a missing folder"
assert_eq 0x800700CE "$(value lock_too_long "$out")" "LockProfile of an over-long name"
assert_eq 0x00000001 "$(value profile_locked "$out")" "IsProfileLocked after failed locks"
assert_eq 0x80004001 "$(value recorder_reference "$out")" "reference recordings"
assert_eq 0x8000FFFF "$(value recorder_unlocked "$out")" "CreateRecorder before the profile is locked"
assert_eq 0x80004003 "$(value start_null "$out")" "Start with no time"
for name in start_negative start_late stop_late; do
  assert_eq 0x80070057 "$(value $name "$out")" "$name (a content recording starts and stops 0 to 5 s ahead)"
done
assert_eq 0x80070003 "$(value start_missing_folder "$out")" "Start of a recording in a missing folder"
assert_eq 0x8000FFFF "$(value stop_unstarted "$out")" "Stop before Start"
assert_eq 0x80070002 "$(value load_missing "$out")" "Load of a missing file"
assert_eq 0x80004002 "$(value attach_not_a_sink "$out")" "SetStreamSink with another object"
assert_eq 0x80070057 "$(value attach_filter_interface "$out")" "SetStreamSink with the sink's filter interface"
assert_eq 0x8000FFFF "$(value duration_nothing_loaded "$out")" "GetDuration with nothing loaded"

# --- two minutes of live television into the sink -----------------------------
mkdir -p buffer
out=$(standinsbe record "$(win "$PWD/buffer")" 120 7 7 1 "$(win "$PWD/rec.dvr-ms")") ||
  fail "record: $out"
echo "$out"
assert_eq 0x80070005 "$(value lock_global "$out")" "LockProfile in the global namespace (a normal user)"
assert_eq 0x80004002 "$(value live_media_seeking "$out")" "IMediaSeeking on live content"
assert_eq 0x00000001 "$(value profile_locked_before "$out")" "IsProfileLocked before LockProfile"
assert_eq 0x00000000 "$(value lock "$out")" "LockProfile"
assert_eq 0x00000000 "$(value lock_same "$out")" "LockProfile of the same name again"
assert_eq 0x8000FFFF "$(value lock_other "$out")" "LockProfile of another name while locked"
assert_eq 0x00000000 "$(value profile_locked "$out")" "IsProfileLocked"
[ -f buffer/stub_1.dvr-ms ] || fail "no stub file"
for name in start stop status; do assert_eq 0x00000000 "$(value $name "$out")" "$name"; done
assert_eq 1 "$(value status_started "$out")" "recording status: started"
assert_eq 1 "$(value status_stopped "$out")" "recording status: stopped"
# Timeshift: the paused playback stays put while the buffer grows; after the
# pause it runs on about 15 s behind live; the jump to live catches up.
early=$(value early.current_ms "$out")
within 2000 8000 "$early" "playback position after 8 s"
paused=$(value paused.current_ms "$out")
within "$early" $((early + 1500)) "$paused" "position at the end of a 15 s pause"
behind=$(($(value resumed.latest_ms "$out") - $(value resumed.current_ms "$out")))
within 12000 19000 "$behind" "behind live after the pause"
# The ring: at most three files of 15 s, its start moved on.
within 60000 110000 "$(value end.earliest_ms "$out")" "start of the available range after 2 minutes"
within 1 3 "$(value buffer_files "$out")" "backing files"
# The jump lands a second short of live. 4 s later playback is far nearer
# live than the 15 s it was behind; on a loaded machine the source may take
# a few of those seconds to deliver from the new place (4.96 s seen in CI).
behind=$(($(value live.latest_ms "$out") - $(value live.current_ms "$out")))
within 0 7000 "$behind" "behind live after the jump to live"
assert_eq 1 "$(value growing.complete "$out")" "the growing recording read to its end"
assert_eq 1 "$(value growing.video.pts_rising "$out")" "growing recording: PTS rising"
# Leaving the graph lets the profile go; the backing files go with their reader.
assert_eq 0x00000000 "$(value profile_locked_stopped "$out")" "IsProfileLocked when stopped"
assert_eq 0x00000001 "$(value profile_locked_removed "$out")" "IsProfileLocked out of the graph"
assert_eq 0x00000000 "$(value lock_again "$out")" "LockProfile of another name out of the graph"
assert_eq 0x8000FFFF "$(value sethkey_after_lock "$out")" "SetHKEY on a sink whose profile was locked"
assert_eq 0 "$(value buffer_files_after "$out")" "backing files left behind"
recorded=$(value recorded_ms "$out")

# --- the recording, checked by our reader and by ffprobe ----------------------
check=$(standinsbe check rec.dvr-ms) || fail "check: $check"
echo "$check"
for name in stray_bytes counter_errors backward_steps; do
  assert_eq 0 "$(value $name "$check")" "recording $name"
done
assert_eq 1 "$(value tables "$check")" "PAT and PMT"
assert_eq 1920x1080 "$(value size "$check")" "picture size"
# No picture or AC-3 frame missing: no step reaches one and a half frames,
# and the span holds as many of each as its length takes. (Where the virtual
# tuner loops its 4-second file, one stream's step is a little off a frame:
# the file holds 119.88 pictures.)
within 2600 4504 "$(value largest_video_step "$check")" "largest step between pictures"
within 2880 4319 "$(value largest_audio_step "$check")" "largest step between AC-3 frames"
span=$(value span_ms "$check")
pictures=$(value video_units "$check")
within $((span * 2997 / 100000 - 3)) $((span * 2997 / 100000 + 8)) "$pictures" "pictures in the span"
frames=$(value audio_units "$check")
within $((span / 32 - 3)) $((span / 32 + 3)) "$frames" "AC-3 frames in the span"
# Against the clock: the virtual tuner, on a busy machine, starts its pacing
# afresh rather than burst when it falls a second behind, so it may send a
# little less than real time; what it sent is all there.
echo "recorded for $recorded ms; the recording spans $span ms"
within $((recorded * 9 / 10)) "$recorded" "$span" "recorded span against the recording time"
[ "$(value random_access "$check")" -ge $((pictures / 15)) ] || fail "too few start points"

probe_errors=$(ffprobe -v error -show_entries stream=codec_name -of compact rec.dvr-ms 2>&1 >/dev/null)
[ -z "$probe_errors" ] || fail "ffprobe: $probe_errors"
streams=$(ffprobe -v error -show_entries stream=codec_name,width,height -of compact rec.dvr-ms)
echo "$streams"
grep -q "codec_name=mpeg2video|width=1920|height=1080" <<<"$streams" || fail "ffprobe finds no 1080-line video"
grep -q "codec_name=ac3" <<<"$streams" || fail "ffprobe finds no AC-3"
# ffprobe's own packet times: the same steps.
for stream in v:3003:4504 a:2880:4319; do
  steps=$(ffprobe -v error -select_streams "${stream%%:*}" -show_entries packet=pts -of csv=p=0 rec.dvr-ms |
    awk -F, '$1 !~ /^[0-9]+$/ { next }  # a packet without a time of its own
             n++ > 0 { d = $1 - last; if (d > max) max = d; if (d <= 0) back++ } { last = $1 }
             END { printf "%d %d %d\n", n, max, back + 0 }')
  read -r count largest backward <<<"$steps"
  IFS=: read -r kind smallest biggest <<<"$stream"
  [ "$count" -gt 1000 ] || fail "ffprobe finds $count $kind packets"
  within "$smallest" "$biggest" "$largest" "ffprobe's largest $kind step"
  assert_eq 0 "${backward:-0}" "ffprobe's $kind steps back"
done
errors=$(ffmpeg -v error -t 10 -i rec.dvr-ms -f null - 2>&1 || true)
[ -z "$errors" ] || fail "decoding the recording: $errors"

# --- played back through the source --------------------------------------------
out=$(standinsbe play rec.dvr-ms 30) || fail "play: $out"
echo "$out"
assert_eq 0x00000000 "$(value load "$out")" "Load"
assert_eq 0x8000FFFF "$(value load_again "$out")" "a second Load of the same source"
# Plain IMediaSeeking: for a finished recording, until IStreamBufferMediaSeeking
# is taken; then neither a new query nor the old pointer works.
assert_eq 0x00000000 "$(value media_seeking "$out")" "IMediaSeeking on a finished recording"
assert_eq 0x00000000 "$(value media_seeking_duration "$out")" "GetDuration through IMediaSeeking"
assert_eq 0x80004002 "$(value media_seeking_after "$out")" "IMediaSeeking after IStreamBufferMediaSeeking"
assert_eq 0x80004001 "$(value media_seeking_duration_after "$out")" \
  "a call through the earlier IMediaSeeking after IStreamBufferMediaSeeking"
within $((span - 1000)) $((span + 1000)) "$(value loaded.duration_ms "$out")" \
  "duration against the recording's span"
assert_eq 1 "$(value complete "$out")" "played to the end"
assert_eq "$pictures" "$(value video.samples "$out")" "pictures played"
assert_eq "$(value audio_units "$check")" "$(value audio.samples "$out")" "AC-3 frames played"
assert_eq 0 "$(value video.first_time_ms "$out")" "first picture's time"
within $((span - 1000)) "$span" "$(value video.last_time_ms "$out")" "last picture's time"
assert_eq 1920x1080 "$(value video.frame_sizes "$out")" "pictures played"
for stream in video audio; do
  assert_eq 1 "$(value $stream.pts_rising "$out")" "$stream PTS rising"
  assert_eq 1 "$(value $stream.time_rising "$out")" "$stream times rising"
done
# From 30 s: the times start at the position, from the start point before it.
within 29000 30100 "$(value seek.current_ms "$out")" "position after the seek"
assert_eq 1 "$(value seek.complete "$out")" "played to the end from 30 s"
within -600 40 "$(value seek.video.first_time_ms "$out")" "first picture's time after the seek (within a frame)"
skipped=$((($(value seek.video.first_pts "$out") - $(value video.first_pts "$out")) / 90))
within 29400 30040 "$skipped" "first picture after the seek"
# At 4x: every picture, a quarter of the time apart, and no sound.
assert_eq 0x00000000 "$(value rate "$out")" "SetRate(4)"
assert_eq 1 "$(value fast.complete "$out")" "played to the end at 4x"
assert_eq "$pictures" "$(value fast.video.samples "$out")" "pictures at 4x"
assert_eq 0 "$(value fast.audio.samples "$out")" "sound at 4x"
within $((span / 4 - 500)) $((span / 4 + 100)) "$(value fast.video.last_time_ms "$out")" "time at 4x"

# --- a time hole: a paused reader in the oldest of two 15-s files -------------
mkdir -p holebuffer
out=$(standinsbe hole "$(win "$PWD/holebuffer")" 7 7 1) || fail "hole: $out"
echo "$out"
assert_eq 2 "$(value buffer_files "$out")" "backing files while the reader holds the oldest"
assert_eq 1 "$(value hole "$out")" "the time hole told to the graph"
# The hole runs from the end of the reader's file (about 15 s) over the
# deleted file (about 15 s).
within 13000 17000 "$(value hole.start_ms "$out")" "start of the time hole"
within 12000 18000 "$(value hole.length_ms "$out")" "length of the time hole"
past=$(($(value hole.start_ms "$out") + $(value hole.length_ms "$out")))
# After the seek past the hole playback runs on from its end.
within "$((past - 500))" "$((past + 4000))" "$(value past.current_ms "$out")" "position after the seek past the hole"
[ "$(value later.current_ms "$out")" -ge "$(($(value past.current_ms "$out") + 1500))" ] ||
  fail "playback does not move on after the hole"
echo "stream buffer checked"
