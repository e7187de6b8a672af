#!/usr/bin/env bash
# The stand-in BDA platform: virtual tuner and capture devices under chosen
# names, the tuning objects and the network provider, tuned with the
# viewer's calls; the stream of the tuned RF channel arrives at its own rate,
# follows re-tunes, loops, and stops for a channel the antenna does not
# carry; the signal strength follows the antenna; failure steps give the
# viewer's failure texts; the platform of Windows 7 and later (the generic
# network provider, the antenna space found by its type).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$harness_top/tools/standin-install.sh"

tuner="Hauppauge WinTV 885 BDA Tuner/Demod"
capture="Hauppauge WinTV 885 TS Capture"
bdagraph=$(harness_exe bdagraph) || fail "no bdagraph"
graph() { wine "$bdagraph" "$@" 2>>bdagraph.err | tr -d '\r'; }
settings='HKCU\Software\Telvantis Standin'
fail_steps() { wine reg add "$settings" /v Fail /t REG_SZ /d "$1" /f >/dev/null || fail "cannot set Fail"; }
# field NAME LINE: the value of NAME=... in a bdagraph line.
field() { sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"; }

# The default antenna, two seconds a channel so the tuner loops quickly.
bash "$harness_top/tools/make-antenna.sh" antenna 2 >/dev/null || fail "make-antenna.sh"
assert_eq 6 "$(head -n 1 antenna/channels.txt)" "channel count"
standin_install --clear-devices --tuner "$tuner" --capture "$capture" --antenna antenna/antenna.txt \
  >install.out || fail "standin-install: $(cat install.out)"
grep -qx "standin-install: registered telvstandin-bda.dll" install.out || fail "bda not registered"

# --- Devices, listed as the viewer lists them ---
assert_eq "tuner=$tuner
capture=$capture" "$(graph devices)" "devices"

# --- A running graph: provider -> tuner -> capture -> counter ---
out=$(graph run --tuner "$tuner" --capture "$capture" \
  --tune 7 7 2 --seconds 3 --tune 33 33 3 --seconds 2 --tune 9 9 1 --seconds 2 \
  --tune 12 12 1 --seconds 1.5 --tune 33 -1 1 --seconds 1.5 --tune 33 33 2 --seconds 0.5)
echo "$out"
[ "$(tail -n 1 <<<"$out")" = stopped ] || fail "the graph did not run to the end: $out"
phase() { sed -n "${1}p" <<<"$out"; }

# 7-2: program 2 of RF 7's stream, at the stream's own rate: the clock
# advanced as much as the wall clock, give or take scheduling. The two-second
# file looped at least once, flagged as a discontinuity.
line=$(phase 1)
assert_eq 2 "$(field program "$line")" "7-2 program"
assert_eq 7 "$(field tsid "$line")" "7-2 transport stream"
assert_eq 80 "$(field signal "$line")" "RF 7 signal"
awk -v pcr="$(field pcr "$line")" -v elapsed="$(field elapsed "$line")" \
  'BEGIN { exit !(pcr > 0.75 * elapsed && pcr < 1.25 * elapsed) }' || fail "not paced in real time: $line"
awk -v bytes="$(field bytes "$line")" -v elapsed="$(field elapsed "$line")" \
  'BEGIN { rate = bytes / elapsed; exit !(rate > 0.75 * 2424082 && rate < 1.25 * 2424082) }' ||
  fail "not at the ATSC rate: $line"
[ "$(field discontinuities "$line")" -ge 1 ] || fail "no discontinuity at the loop: $line"

# A re-tune of the running graph switches stream and program; a new RF
# channel has no signal until the tuner has locked, another program of the
# same RF channel keeps it.
line=$(phase 2)
assert_eq "3 33 45 0" "$(field program "$line") $(field tsid "$line") $(field signal "$line") $(field tuned_signal "$line")" "33-3"
line=$(phase 3)
assert_eq "1 9 60" "$(field program "$line") $(field tsid "$line") $(field signal "$line")" "9-1"
# RF 12 is not on the antenna: nothing arrives, no signal.
line=$(phase 4)
assert_eq "0 0 0" "$(field program "$line") $(field bytes "$line") $(field signal "$line")" "RF 12"
# Channel -1 (33-1 is tuned by its RF channel alone): the first program.
line=$(phase 5)
assert_eq "1 33 45" "$(field program "$line") $(field tsid "$line") $(field signal "$line")" "33-1"
line=$(phase 6)
assert_eq "2 45" "$(field program "$line") $(field tuned_signal "$line")" "33-2 on the same RF channel"

# Model 8: a tuner without a capture device, first tuned (as on a first run)
# to a channel that has no signal, then to one that has.
out=$(graph run --tuner "$tuner" --no-capture --tune -1 -1 -1 --seconds 0.5 --tune 7 7 1 --seconds 1)
assert_eq "0 0" "$(field program "$(phase 1)") $(field bytes "$(phase 1)")" "nothing tuned"
line=$(phase 2)
assert_eq "1 7" "$(field program "$line") $(field tsid "$line")" "tuner only"
[ "$(field bytes "$line")" -gt 0 ] || fail "nothing from the tuner alone: $line"

# The provider on its own reads the antenna too.
assert_eq "signal=80 result=0x00000000" "$(graph signal 7 7 1)" "provider signal"
assert_eq "signal=0 result=0x00000000" "$(graph signal 2 2 1)" "provider without signal"

# --- Failure steps give the viewer's texts ---
expect_messages() {  # STEPS EXPECTED COMMAND...
  local steps=$1 expected=$2 status=0 got
  shift 2
  fail_steps "$steps"
  got=$(graph "$@") || status=$?
  fail_steps ""
  [ "$status" -eq 3 ] || fail "$steps: status $status, output $got"
  assert_eq "$expected" "$(grep '^message=' <<<"$got" | sed 's/^message=//')" "$steps"
}
expect_messages TuningSpaces.Create "Failed to create system tuning space." signal 7 7 1
expect_messages TuningSpaces.get_EnumTuningSpaces "Failed to get tuning space enumerator." signal 7 7 1
expect_messages TuningSpaces.get_Count "Failed to enumerate tuning spaces." signal 7 7 1
expect_messages TuningSpaces.Next "Failed to read tuning spaces." signal 7 7 1
expect_messages NetworkProvider.QueryITuner "CAN'T INITIALIZE TUNER" signal 7 7 1
expect_messages TuningSpace.get_UniqueName "Failed to read tuning space unique name." signal 7 7 1
expect_messages TuningSpace.QueryIATSCTuningSpace "Failed to QI for IATSCTuningSpace." signal 7 7 1
expect_messages Locator.Create "Failed to create ATSC locator." signal 7 7 1
expect_messages Locator.put_PhysicalChannel "Failed to set physical channel." signal 7 7 1
expect_messages TuningSpace.CreateTuneRequest "Failed to create tune request." signal 7 7 1
expect_messages TuneRequest.QueryIATSCChannelTuneRequest "Failed to query for IATSCChannelTuneRequest." signal 7 7 1
expect_messages TuneRequest.put_Channel "Failed to put channel property." signal 7 7 1
expect_messages TuneRequest.put_MinorChannel "Failed to put minor channel property." signal 7 7 1
expect_messages TuneRequest.put_Locator "Failed to put locator." signal 7 7 1
expect_messages TuneRequest.QueryITuneRequest "Failed to QI tune request" signal 7 7 1
expect_messages NetworkProvider.Create "NO ATSC NETWORK PROVIDER" signal 7 7 1
expect_messages "NetworkProvider.put_TuneRequest" "Failed to put tune request
CAN'T TUNE CHANNEL" run --tuner "$tuner" --capture "$capture" --tune 7 7 1 --seconds 0.1
expect_messages Tuner.Create "CAN'T LOAD BDA Tuner" run --tuner "$tuner" --tune 7 7 1 --seconds 0.1
expect_messages Capture.Create "CAN'T LOAD BDA Capture" run --tuner "$tuner" --capture "$capture" --tune 7 7 1 --seconds 0.1
expect_messages Tuner.Connect "CAN'T CONNECT BDA Tuner to BDA Capture" run --tuner "$tuner" --capture "$capture" --tune 7 7 1 --seconds 0.1
expect_messages "" "CAN'T LOAD BDA Tuner" run --tuner "Unknown Tuner" --tune 7 7 1 --seconds 0.1

# A failing signal read is reported as such and the graph goes on.
fail_steps NetworkProvider.get_SignalStrength
line=$(graph run --tuner "$tuner" --capture "$capture" --tune 7 7 1 --seconds 0.5 | head -n 1)
fail_steps ""
[[ $line == *signal-failed ]] || fail "signal failure not seen: $line"

# No space named "ATSC" and none with the antenna input; then two named
# "ATSC", the first is taken.
wine reg add "$settings" /v TuningSpaces /t REG_SZ /d "DVB-T:cable ATSC-2:cable" /f >/dev/null
assert_eq "message=Could not find ATSC tuning space." "$(graph signal 7 7 1)" "no ATSC space"
wine reg add "$settings" /v TuningSpaces /t REG_SZ /d "" /f >/dev/null
assert_eq "message=Could not find ATSC tuning space." "$(graph signal 7 7 1)" "no space at all"
wine reg add "$settings" /v TuningSpaces /t REG_SZ /d "Cable ATSC ATSC" /f >/dev/null
assert_eq "signal=80 result=0x00000000" "$(graph signal 7 7 1)" "ATSC among others"
# A space with the cable input tunes cable frequencies: nothing from the
# antenna. The one named "ATSC" is taken even so, before an antenna space of
# another name.
wine reg add "$settings" /v TuningSpaces /t REG_SZ /d "ATSCAntenna ATSC:cable" /f >/dev/null
assert_eq "signal=0 result=0x00000000" "$(graph signal 7 7 1)" "cable space"
wine reg delete "$settings" /v TuningSpaces /f >/dev/null

# --- The platform of Windows 7 and later: only the generic network provider
# is registered; no space is named "ATSC", the antenna space is found by its
# type behind the cable space; the generic provider tunes the ATSC request ---
assert_eq "atsc=1 generic=0" "$(graph providers)" "the older systems' providers"
windows7_checks() {
  standin_install --platform windows7 >install.out || fail "standin-install: $(cat install.out)"
  assert_eq "atsc=0 generic=1" "$(graph providers)" "the providers of Windows 7"
  assert_eq "signal=80 result=0x00000000" "$(graph signal 7 7 1)" "antenna space found by type"
  line=$(graph run --tuner "$tuner" --capture "$capture" --tune 9 9 1 --seconds 0.5 | head -n 1)
  assert_eq "1 9 60" "$(field program "$line") $(field tsid "$line") $(field signal "$line")" "generic provider"
  wine reg add "$settings" /v TuningSpaces /t REG_SZ /d "ATSCCable:cable DVB-T:cable" /f >/dev/null
  assert_eq "message=Could not find ATSC tuning space." "$(graph signal 7 7 1)" "only a cable space"
}
# In a subshell, so that the prefix, which serves the lane's later tests,
# gets the older systems' platform back whatever happened.
status=0
(windows7_checks) || status=$?
wine reg delete "$settings" /v TuningSpaces /f >/dev/null 2>&1 || true
standin_install --platform legacy >install.out || fail "standin-install: $(cat install.out)"
[ "$status" -eq 0 ] || fail "the platform of Windows 7 (see above)"
assert_eq "atsc=1 generic=0" "$(graph providers)" "back to the older systems"

# --- A damaged antenna file: bad lines are named, good ones still count ---
printf 'RF 7 SIGNAL eighty FILE rf7.ts\nRF 9 SIGNAL 61 FILE rf9.ts\nCHANNEL 9 1 PROGRAM 1\nBOGUS\n' >antenna/bad.txt
standin_install --antenna antenna/bad.txt >/dev/null || fail "cannot set the antenna"
assert_eq "signal=0 result=0x00000000" "$(graph signal 7 7 1)" "rejected RF line"
assert_eq "signal=61 result=0x00000000" "$(graph signal 9 9 1)" "good RF line"
grep -q "bad.txt line 1: expected RF" bdagraph.err || fail "no message for line 1: $(cat bdagraph.err)"
grep -q "bad.txt line 4: unknown statement \"BOGUS\"" bdagraph.err || fail "no message for line 4"
standin_install --antenna antenna/missing.txt >/dev/null 2>&1 || fail "cannot set the antenna"
assert_eq "signal=0 result=0x00000000" "$(graph signal 9 9 1)" "missing antenna"
grep -q "cannot open the antenna file" bdagraph.err || fail "no message for the missing antenna"
head -c 1100000 /dev/zero | tr '\0' '#' >antenna/huge.txt
standin_install --antenna antenna/huge.txt >/dev/null || fail "cannot set the antenna"
assert_eq "signal=0 result=0x00000000" "$(graph signal 9 9 1)" "huge antenna"
grep -q "huge.txt is larger than 1 MB" bdagraph.err || fail "no message for the huge antenna"

# --- Damaged streams: delivered as they are, paced without a clock ---
tsgen=${TSGEN:-$harness_top/build/native/tools/tsgen}
[ -x "$tsgen" ] || fail "no tsgen at $tsgen"
"$tsgen" --out antenna/lostsync.ts --seconds 2 --tsid 22 --damage lost-sync >/dev/null || fail "tsgen"
head -c 3000000 /dev/urandom >antenna/noise.bin
: >antenna/empty.ts
printf 'RF 20 SIGNAL 33 FILE noise.bin\nCHANNEL 20 1 PROGRAM 1\nRF 21 SIGNAL 34 FILE empty.ts\nRF 22 SIGNAL 35 FILE lostsync.ts\n' \
  >antenna/damaged.txt
standin_install --antenna antenna/damaged.txt >/dev/null || fail "cannot set the antenna"
out=$(graph run --tuner "$tuner" --capture "$capture" --tune 20 20 1 --seconds 1.5 \
  --tune 21 21 1 --seconds 1 --tune 22 22 1 --seconds 1.5)
echo "$out"
[ "$(tail -n 1 <<<"$out")" = stopped ] || fail "the graph did not run to the end: $out"
# Noise has no clock: it comes at the ATSC rate, not as fast as it can be read.
line=$(phase 1)
assert_eq 33 "$(field signal "$line")" "noise signal"
awk -v bytes="$(field bytes "$line")" -v elapsed="$(field elapsed "$line")" \
  'BEGIN { rate = bytes / elapsed; exit !(rate > 0.75 * 2424082 && rate < 1.25 * 2424082) }' ||
  fail "noise not paced at the default rate: $line"
# An empty file: a signal, but nothing to deliver.
assert_eq "0 34" "$(field bytes "$(phase 2)") $(field signal "$(phase 2)")" "empty stream"
line=$(phase 3)
[ "$(field bytes "$line")" -gt 0 ] || fail "nothing from the stream with lost sync: $line"
# The tuner finds the stream's clock again where it is back in step.
awk -v bytes="$(field bytes "$line")" -v elapsed="$(field elapsed "$line")" \
  'BEGIN { rate = bytes / elapsed; exit !(rate > 0.75 * 2424082 && rate < 1.25 * 2424082) }' ||
  fail "the stream with lost sync not paced: $line"

# --- Two devices of one name: both listed, the first is used; then none ---
standin_install --tuner "$tuner" >/dev/null || fail "second tuner"
assert_eq "$tuner
$tuner" "$(graph devices | sed -n 's/^tuner=//p')" "two tuners of one name"
standin_install --antenna antenna/antenna.txt >/dev/null
line=$(graph run --tuner "$tuner" --capture "$capture" --tune 9 9 1 --seconds 0.5 | head -n 1)
assert_eq "1 9" "$(field program "$line") $(field tsid "$line")" "first of two tuners"
devices=$(harness_exe telvstandin-devices) || fail "no telvstandin-devices"
wine "$devices" unregister tuner "$tuner" || fail "unregister"
assert_eq "capture=$capture" "$(graph devices)" "both tuners of the name removed"
standin_install --clear-devices >/dev/null || fail "clear"
assert_eq "" "$(graph devices)" "no devices"
echo "standin bda: all checks passed"
