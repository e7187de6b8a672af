#!/usr/bin/env bash
# The test decoders and the VMR-7 aspect-ratio wrapper: registration that
# gives Wine's own VMR-7 entry back, the system check's decoder query, the
# aspect-ratio control, steps made to fail, and pictures: the test card of a
# file's stream (the decoders added by name and inserted by the graph), of the
# TS player's demultiplexer pins, and of the live graph tuned to two programs
# in turn, with frame counts and a stream clock that advance.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$harness_top/tools/standin-install.sh"

tsgen=$harness_top/build/native/tools/tsgen
[ -x "$tsgen" ] || fail "no native tsgen: build the native tree first"
settings='HKCU\Software\Telvantis Standin'
vmr_server='HKCR\CLSID\{B87BEB7B-8D29-423F-AE4D-6582C10175AC}\InprocServer32'
title="Standin Decoders Test"

dll_file=$(harness_exe telvstandin-decoders.dll) || fail "no telvstandin-decoders.dll"
dll=$(harness_windows_path "$dll_file")
cp "$(harness_exe standindecoders)" . || fail "no standindecoders.exe"

standindecoders() { wine ./standindecoders.exe "$@" | tr -d '\r'; }
value() { sed -n "s/^$1=//p" <<<"$2"; }
set_fail() { wine reg add "$settings" /v Fail /d "$1" /f >/dev/null; }
clear_fail() { wine reg delete "$settings" /v Fail /f >/dev/null 2>&1 || true; }
vmr_server_path() { wine reg query "$vmr_server" /ve | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
# pixel PNG X Y: the colour of one pixel as RRGGBB.
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p'; }
# counter NAME OUTPUT [T]: a field of the counters line of second T (default: the last).
counter() {
  local line
  if [ -n "${3:-}" ]; then line=$(grep "^counters t=$3 " <<<"$2"); else line=$(grep '^counters ' <<<"$2" | tail -n 1); fi
  sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$line"
}
# wait_for_counters SECOND: until the program has printed that second's counters.
has_counters() { tr -d '\r' <standindecoders.out | grep -q "^counters t=$1 "; }
wait_for_counters() {
  harness_wait_until 30 has_counters "$1" || fail "no counters of second $1 after 30 s"
}
# distinct_clocks OUTPUT: how many different stream clocks the counters showed.
distinct_clocks() { grep '^counters ' <<<"$1" | sed -n 's/.* clock=\([^ ]*\).*/\1/p' | sort -u | wc -l; }
clear_fail

# --- registration: the wrapper takes the VMR-7's place and gives it back ----
# An earlier test of the run may have installed the stand-ins already: start
# from the prefix's own VMR-7 entry.
standin_register /u "$dll_file" >/dev/null 2>&1 || true  # not registered yet is fine
original=$(vmr_server_path)
[ -n "$original" ] || fail "no VMR-7 server entry in the prefix"
standin_register "$dll_file" >/dev/null || fail "registering failed"
assert_eq "$dll" "$(vmr_server_path)" "VMR-7 server after registering"
standin_register "$dll_file" >/dev/null || fail "second registering failed"
standin_register /u "$dll_file" >/dev/null || fail "unregistering failed"
assert_eq "$original" "$(vmr_server_path)" "VMR-7 server after unregistering"
out=$(standindecoders list)
grep -q "^video=" <<<"$out" && fail "decoders still listed after unregistering: $out"
standin_register "$dll_file" >/dev/null || fail "registering failed"

# --- the system check's query finds both decoders ----------------------------
out=$(standindecoders list)
grep -qxF "video=Telvantis Test MPEG-2 Video Decoder" <<<"$out" || fail "video decoder not listed: $out"
grep -qxF "audio=Telvantis Test AC-3 Audio Decoder" <<<"$out" || fail "audio decoder not listed: $out"

# --- the aspect-ratio control on Wine's VMR-7 --------------------------------
out=$(standindecoders probe)
for step in video-create audio-create vmr-create aspect-query aspect-set; do
  assert_eq 0x00000000 "$(value $step "$out")" "$step"
done
assert_eq 1 "$(value vmr-class-is-vmr7 "$out")" "class id of the wrapped renderer"
assert_eq 1 "$(value aspect-mode "$out")" "letter-box mode read back"
assert_eq 0x80070057 "$(value aspect-set-invalid "$out")" "an unknown mode"
assert_eq 1 "$(value vmr-identity "$out")" "one object whatever interface"

# --- steps made to fail ------------------------------------------------------
set_fail "VideoDecoder.Create AudioDecoder.Create AspectRatio.QueryInterface"
out=$(standindecoders probe)
assert_eq 0x80004005 "$(value video-create "$out")" "video decoder creation made to fail"
assert_eq 0x80004005 "$(value audio-create "$out")" "audio decoder creation made to fail"
assert_eq 0x80004002 "$(value aspect-query "$out")" "aspect-ratio query made to fail"
set_fail "AspectRatio.SetAspectRatioMode"
out=$(standindecoders probe)
assert_eq 0x80004005 "$(value aspect-set "$out")" "SetAspectRatioMode made to fail"
set_fail "VideoMixingRenderer.Create"
out=$(standindecoders probe)
assert_eq 0x80004005 "$(value vmr-create "$out")" "VMR-7 creation made to fail"

"$tsgen" --out two.ts --seconds 4 --program 1:0x30:1920x1080 --program 2:0x40:720x480 >/dev/null
# Each connection refused where the graph makes it.
for case in "VideoDecoder.Connect:connect to video decoder" "VideoDecoder.ConnectOutput:connect to VMR" \
  "AudioDecoder.Connect:connect to audio decoder" "AudioDecoder.ConnectOutput:connect to sound"; do
  set_fail "${case%%:*}"
  status=0
  wine ./standindecoders.exe play two.ts 1 >fail.out 2>&1 || status=$?
  assert_eq 1 "$status" "play with ${case%%:*} made to fail"
  grep -q "${case#*:} failed" fail.out || fail "${case%%:*}: $(tr -d '\r' <fail.out)"
done
clear_fail

# --- pictures: the card of program 1 from the file, decoders added by name ---
# The window is 640 x 480 and the picture 16:9: letter-boxed, it fills rows
# 60 to 419, with black bars above and below.
start_program standindecoders play two.ts 8
player=$HARNESS_PID
wait_for_counters 3
first=$(take_screenshot file-first "$title")
wait_for_counters 5
later=$(take_screenshot file-later "$title")
assert_status 0 harness_wait_exit "$player" 30
out=$(tr -d '\r' <standindecoders.out)
echo "$out"
for name in Source "Video Decoder" "Audio Decoder" VMR Sound; do
  grep -qxF "filter=$name" <<<"$out" || fail "no filter $name in the graph"
done
assert_eq "native=1920x1080 aspect=1920:1080" "$(grep '^native=' <<<"$out")" "native size"
assert_eq "position=0,0,640,480" "$(grep '^position=' <<<"$out")" "position read back"
# The card's lines: program (neither tuner nor PID upstream), size, clock.
grep -q "^counters t=2 .* size=1920 x 1080 program=NO PROGRAM$" <<<"$out" || fail "card lines"
frames2=$(counter video "$out" 2)
frames6=$(counter video "$out" 6)
audio2=$(counter audio "$out" 2)
audio6=$(counter audio "$out" 6)
# Four seconds hold 120 pictures and 125 AC-3 frames; the card is HD, which
# Wine's renderer on a busy machine takes more slowly than real time.
[ "$((frames6 - frames2))" -ge 5 ] || fail "video frames from 2 s to 6 s: $frames2 -> $frames6"
[ "$((audio6 - audio2))" -ge 60 ] || fail "audio frames from 2 s to 6 s: $audio2 -> $audio6"
[ "$(distinct_clocks "$out")" -ge 4 ] || fail "the stream clock stands still"
assert_eq 000000 "$(pixel "$first" 20 30)" "letter-box bar above the picture"
assert_eq 000000 "$(pixel "$first" 20 450)" "letter-box bar below the picture"
assert_eq C0C0C0 "$(pixel "$first" 20 100)" "first colour bar"
assert_eq 0000C0 "$(pixel "$first" 620 100)" "last colour bar"
assert_eq 000000 "$(pixel "$first" 150 240)" "text box in the middle"
# Painted over half way and repainted: the bars are black again.
grep -q "^repaint=" <<<"$out" || fail "no repaint half way"
assert_eq 000000 "$(pixel "$later" 20 30)" "letter-box bar after the repaint"
differing=$(compare -metric AE "$first" "$later" null: 2>&1 || true)
[ "${differing%% *}" -gt 0 ] || fail "the picture did not change between 3 s and 5 s"

# --- the graph inserts the decoders (models without decoders.txt) -----------
out=$(standindecoders play two.ts 3 --intelligent) || fail "intelligent: $out"
grep -qxF "filter=Telvantis Test MPEG-2 Video Decoder" <<<"$out" || fail "no video decoder inserted: $out"
grep -qxF "filter=Telvantis Test AC-3 Audio Decoder" <<<"$out" || fail "no audio decoder inserted: $out"
[ "$(counter video "$out")" -gt 0 ] && [ "$(counter audio "$out")" -gt 0 ] || fail "nothing decoded: $out"

# --- the rest of the stand-in platform: the TS player's and the live graph ---
bash "$harness_top/tools/make-antenna.sh" antenna 4 >/dev/null || fail "make-antenna.sh failed"
standin_install --ts-filters --clear-devices --tuner "Stand-in Tuner" --capture "Stand-in Capture" \
  --antenna "$PWD/antenna/antenna.txt" --fail "" >/dev/null || fail "standin-install.sh failed"

# The TS player's demultiplexer pins mapped to program 2: the demultiplexer
# serves both pins from one thread, and both renderers still get their
# first samples.
out=$(standindecoders play two.ts 4 --push --video-pid 0x41 --audio-pid 0x44) || fail "push: $out"
grep -q "^counters t=3 .* size=720 x 480 program=PID 0X41$" <<<"$out" || fail "TS player card: $out"
[ "$(counter video "$out" 4)" -gt "$(counter video "$out" 2)" ] || fail "push: video stands still"
[ "$(counter audio "$out" 4)" -gt "$(counter audio "$out" 2)" ] || fail "push: audio stands still"

# The live graph tuned to 7-1, then to 7-2 half way: the card names the
# program and its bars change with it. On a busy machine pictures already on
# their way still show for a while after the second tune request, so the
# second screenshot waits for the second program's own pictures.
has_card() { tr -d '\r' <standindecoders.out | grep -q "^counters .* size=$1 program=$2$"; }
rm -f standindecoders.out
start_program standindecoders live 16 7 7 1 7 7 2
viewer=$HARNESS_PID
harness_wait_until 30 has_card "1920 x 1080" "RF 7 PROGRAM 1" || fail "no card of 7-1"
first=$(take_screenshot live-first "$title")
harness_wait_until 30 has_card "720 x 480" "7-2 PROGRAM 2" || fail "no card of 7-2"
second=$(take_screenshot live-second "$title")
assert_status 0 harness_wait_exit "$viewer" 30
out=$(tr -d '\r' <standindecoders.out)
echo "$out"
for name in ATSCNetwork BDATunerDemod TSCapture Demux "BDA TIF" "Video Decoder" "Audio Decoder" VMR Sound; do
  grep -qxF "filter=$name" <<<"$out" || fail "no filter $name in the live graph"
done
grep -qxF "tuned second" <<<"$out" || fail "the second tune request failed"
[ "$(counter video "$out" 16)" -gt "$(counter video "$out" 12)" ] || fail "live: video stands still"
[ "$(counter audio "$out" 16)" -gt "$(counter audio "$out" 12)" ] || fail "live: audio stands still"
assert_eq C0C000 "$(pixel "$first" 20 100)" "first bar of 7-1"
assert_eq 00C0C0 "$(pixel "$second" 20 100)" "first bar of 7-2"

# Damaged streams (packets cut short, sync lost) still give pictures and sound.
for damage in truncated lost-sync; do
  "$tsgen" --out "$damage.ts" --seconds 4 --damage "$damage" >/dev/null
  out=$(standindecoders play "$damage.ts" 3 --push) || fail "$damage: $out"
  [ "$(counter video "$out")" -gt 0 ] && [ "$(counter audio "$out")" -gt 0 ] ||
    fail "nothing decoded from the $damage stream: $out"
done
