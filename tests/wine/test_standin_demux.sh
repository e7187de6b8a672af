#!/usr/bin/env bash
# The stand-in demultiplexer, pin tee and transport information filter:
# a push source feeding the demultiplexer with pins made and mapped as the TS
# player does (only the mapped PIDs arrive, their PTS rising; a remap shows
# the other program), steps made to fail, and the recording graph tuner ->
# capture -> tee -> dump filter with demultiplexer and TIF on the tee's
# second output, whose file ffprobe reads as the generated programs.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$harness_top/tools/standin-install.sh"

tsgen=$harness_top/build/native/tools/tsgen
[ -x "$tsgen" ] || fail "no native tsgen: build the native tree first"
settings='HKCU\Software\Telvantis Standin'

bin=$(dirname "$(harness_exe telvantissource.ax)") || fail "no telvantissource.ax"
for server in telvantissource.ax telvantissink.ax telvstandin-demux.dll; do
  [ -f "$bin/$server" ] || fail "no $server in $bin"
  standin_register "$bin/$server" >/dev/null || fail "registering $server failed"
done
cp "$(harness_exe standindemux)" . || fail "no standindemux.exe"

standindemux() { wine ./standindemux.exe "$@" | tr -d '\r'; }
value() { sed -n "s/^$1=//p" <<<"$2"; }
set_fail() { wine reg add "$settings" /v Fail /d "$1" /f >/dev/null; }
clear_fail() { wine reg delete "$settings" /v Fail /f >/dev/null 2>&1 || true; }
clear_fail

# --- the TS player's pins on a push source ----------------------------------
"$tsgen" --out three.ts --seconds 4 --program 1:0x30:1280x720 --program 2:0x40:720x480 \
  --program 3:0x50:1920x1080 >/dev/null
out=$(standindemux pids three.ts 0x31 0x34 0x41 0x44) || fail "pids: $out"
echo "$out"
for step in create_video_pin map_video create_audio_pin map_audio unmap_video unmap_audio \
  map_video_again map_audio_again; do
  assert_eq 0x00000000 "$(value $step "$out")" "$step"
done
grep -qxF "pin=Video Pin out connected 0x31/1" <<<"$out" || fail "video pin does not carry 0x31"
grep -qxF "pin=Audio Pin out connected 0x34/1" <<<"$out" || fail "audio pin does not carry 0x34"
grep -qxF "again.pin=Video Pin out connected 0x41/1" <<<"$out" || fail "video pin not remapped"
for run in "" again.; do
  video_samples=$(value "${run}video.samples" "$out")
  audio_samples=$(value "${run}audio.samples" "$out")
  # Four seconds of 29.97 pictures and 31.25 AC-3 frames; the last of each
  # stays in the demultiplexer, whose end no next one marks.
  [ "$video_samples" -ge 115 ] && [ "$video_samples" -le 120 ] ||
    fail "${run}video samples: $video_samples"
  [ "$audio_samples" -ge 120 ] && [ "$audio_samples" -le 125 ] ||
    fail "${run}audio samples: $audio_samples"
  # Only the mapped program's pictures and only AC-3 frames arrive.
  assert_eq "$audio_samples" "$(value "${run}audio.ac3_frames" "$out")" "${run}AC-3 frames"
  for stream in video audio; do
    assert_eq 1 "$(value "${run}$stream.pts_rising" "$out")" "${run}$stream PTS rising"
    assert_eq 1 "$(value "${run}$stream.time_rising" "$out")" "${run}$stream times rising"
    assert_eq 0 "$(value "${run}$stream.without_pts" "$out")" "${run}$stream samples without PTS"
  done
  # The PTS start 500 ms after the PCR, which starts at 1 s.
  assert_eq 135000 "$(value "${run}video.first_pts" "$out")" "${run}first video PTS"
  assert_eq 0 "$(value "${run}video.first_time" "$out")" "${run}first video time"
done
assert_eq 1280x720 "$(value video.frame_sizes "$out")" "program 1 picture size"
assert_eq 720x480 "$(value again.video.frame_sizes "$out")" "program 2 picture size"
assert_eq 0x00000000 "$(value delete_audio_pin "$out")" "DeleteOutputPin"
assert_eq 0x80040216 "$(value delete_audio_pin_again "$out")" "DeleteOutputPin of a deleted pin"
grep -q "^deleted.pin=Audio Pin" <<<"$out" && fail "the deleted pin is still listed"

# The video stream analyser passes the video on unchanged.
out=$(standindemux pids --analyzer three.ts 0x51 0x54) || fail "pids --analyzer: $out"
assert_eq 1920x1080 "$(value video.frame_sizes "$out")" "program 3 through the analyser"
[ "$(value video.samples "$out")" -ge 115 ] || fail "the analyser lost pictures"
assert_eq 1 "$(value video.pts_rising "$out")" "PTS through the analyser"
assert_eq 135000 "$(value video.first_pts "$out")" "first PTS through the analyser"

# Damaged input: what survives arrives in order; bytes with no packets in
# them give nothing, and no failure.
"$tsgen" --out lost.ts --seconds 4 --damage lost-sync --program 1:0x30:1280x720 >/dev/null
out=$(standindemux pids lost.ts 0x31 0x34) || fail "pids on a damaged stream: $out"
[ "$(value video.samples "$out")" -ge 100 ] || fail "damaged stream: $(value video.samples "$out") pictures"
assert_eq 1 "$(value video.pts_rising "$out")" "damaged stream PTS"
head -c 3000000 /dev/urandom >noise.ts
out=$(standindemux pids noise.ts 0x31 0x34) || fail "pids on noise: $out"
assert_eq 0 "$(value video.samples "$out")" "pictures from noise"

# --- the graph toolkit's pin choice by major type ----------------------------
out=$(standindemux connect-major) || fail "connect-major: $out"
assert_eq "video_only=Video Pin
video_again=0x80004005 COULDN'T CONNECT FILTERS
any=Audio Pin" "$out" "pins chosen by major type"

# --- steps made to fail ------------------------------------------------------
out=$(standindemux create)
for filter in demux tif analyzer inftee; do
  assert_eq 0x00000000 "$(value create.$filter "$out")" "create $filter"
done
set_fail "InfTee.Create TIF.Create"
out=$(standindemux create)
assert_eq 0x80004005 "$(value create.inftee "$out")" "create tee made to fail"
assert_eq 0x80004005 "$(value create.tif "$out")" "create TIF made to fail"
assert_eq 0x00000000 "$(value create.demux "$out")" "create demultiplexer"
set_fail "Demux.MapPID"
out=$(standindemux pids three.ts 0x31 0x34) || fail "pids: $out"
assert_eq 0x80004005 "$(value map_video "$out")" "MapPID made to fail"
assert_eq 0 "$(value video.samples "$out")" "samples without a mapped PID"
set_fail "Demux.CreateOutputPin"
assert_status 1 standindemux pids three.ts 0x31 0x34
clear_fail

# --- behind the virtual tuner -----------------------------------------------
bash "$harness_top/tools/make-antenna.sh" antenna 4 >/dev/null || fail "make-antenna.sh failed"
standin_install --ts-filters --clear-devices --tuner "Stand-in Tuner" --capture "Stand-in Capture" \
  --antenna "$PWD/antenna/antenna.txt" --fail "" >/dev/null || fail "standin-install.sh failed"

# The live chain: the demultiplexer's own pins follow the tuned program, the
# tables pin goes to the TIF first, and the times follow the clock.
out=$(standindemux live 6 7 7 1 9 9 1) || fail "live: $out"
echo "$out"
grep -qxF "pin=PSI out connected" <<<"$out" || fail "the TIF is not on the tables pin"
grep -qxF "first.pin=Video out connected 0x31/1" <<<"$out" || fail "7-1's video is not mapped"
grep -qxF "first.pin=Audio out connected 0x34/1" <<<"$out" || fail "7-1's audio is not mapped"
assert_eq 1920x1080 "$(value first.video.frame_sizes "$out")" "7-1's pictures"
[[ $(value second.video.frame_sizes "$out") =~ (^|,)1280x720$ ]] ||
  fail "9-1's pictures do not follow the tune request: $(value second.video.frame_sizes "$out")"
for half in first second; do
  samples=$(value $half.video.samples "$out")
  # Three seconds of real time, less the half second the PTS run ahead.
  [ "$samples" -ge 60 ] && [ "$samples" -le 95 ] || fail "$half half: $samples pictures"
  assert_eq 1 "$(value $half.video.time_rising "$out")" "$half half times rising"
  assert_eq "$(value $half.audio.samples "$out")" "$(value $half.audio.ac3_frames "$out")" \
    "$half half AC-3 frames"
done

# Into the renderers, as the live graph of a model without decoders does it:
# the graph puts the test decoders between. Sound keeps real time, and the
# pictures of the tuned program arrive.
wine reg delete "$settings\\Decoders" /f >/dev/null 2>&1 || true
out=$(standindemux render 5 33 33 3) || fail "render: $out"
echo "$out"
assert_eq 0 "$(value errors "$out")" "error events of the rendering graph"
decoded=$(wine reg query "$settings\\Decoders" | tr -d '\r') || fail "the decoders reported nothing"
echo "$decoded"
counter() { printf '%d' "$(awk -v name="$1" '$1 == name { print $3 }' <<<"$decoded")"; }
[ "$(counter AudioFrames)" -ge 120 ] || fail "sound fell behind: $(counter AudioFrames) AC-3 frames"
[ "$(counter VideoFrames)" -ge 60 ] || fail "pictures fell behind: $(counter VideoFrames)"
grep -q "VideoProgram.*33-3 PROGRAM 3" <<<"$decoded" || fail "not the pictures of 33-3"

# The recording graph of the TS recorder: the whole stream of RF 33 goes to
# the file, the demultiplexer and TIF on the tee's second output.
out=$(standindemux record rec.ts 4 33 33 2) || fail "record: $out"
echo "$out"
grep -qxF "tee.pin=Output1 out connected" <<<"$out" || fail "the dump filter is not on Output1"
grep -qxF "tee.pin=Output2 out connected" <<<"$out" || fail "the demultiplexer is not on Output2"
grep -qxF "tee.pin=Output3 out free" <<<"$out" || fail "the tee offers no free output"
grep -qxF "demux.pin=PSI out connected" <<<"$out" || fail "the TIF is not connected"
grep -qxF "end.pin=Video out free 0x41/1" <<<"$out" || fail "33-2's video is not followed"
assert_eq 45 "$(value signal "$out")" "signal strength of RF 33"
programs=$(ffprobe -v error -show_entries program=program_num:stream=codec_name -of compact rec.ts) ||
  fail "ffprobe cannot read rec.ts"
echo "$programs"
for number in 1 2 3; do
  grep -q "^program|program_num=$number" <<<"$programs" || fail "rec.ts lacks program $number"
done
[ "$(grep -c 'codec_name=mpeg2video' <<<"$programs")" -ge 3 ] || fail "rec.ts lacks video streams"
[ "$(grep -c 'codec_name=ac3' <<<"$programs")" -ge 3 ] || fail "rec.ts lacks audio streams"
size=$(stat -c %s rec.ts)
# About four seconds at the ATSC rate (19.39 Mbit/s), in whole packets.
[ $((size % 188)) -eq 0 ] || fail "rec.ts holds a part packet ($size bytes)"
[ "$size" -ge 6000000 ] && [ "$size" -le 13000000 ] || fail "rec.ts holds $size bytes"

# A failing tee output: the dump filter cannot be connected.
set_fail "InfTee.ConnectOutput"
assert_status 1 standindemux record rec2.ts 1 33 33 2
clear_fail
