#!/usr/bin/env bash
# The transport-stream filters and the filter library under them: the
# library's own checks (dshowtest), registration through the batch files, a
# graph push source -> dump filter on a generated stream (plain, with a seek
# while running, and on a full disk), the seeking arithmetic, Load of a
# missing file and of a name with '?', and unregistration.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

block=51200
source_clsid='{B489920A-10FF-42EF-99D2-AD8052A56C5A}'
sink_clsid='{E212A41C-033F-4541-93B5-3A78B0392446}'

# The servers, the batch files and the graph program side by side, as they
# ship.
bin=$(dirname "$(harness_exe telvantissource.ax)") || fail "no telvantissource.ax"
cp "$bin"/telvantissource.ax "$bin"/telvantissink.ax "$bin"/*.bat .
cp "$(harness_exe tsgraph)" . || fail "no tsgraph.exe"

tsgraph() { wine ./tsgraph.exe "$@" | tr -d '\r'; }
value() { sed -n "s/^$1=//p" <<<"$2"; }
size_of() { stat -c %s "$1"; }
class_key_exists() { wine reg query "HKCR\\CLSID\\$1" >/dev/null 2>&1; }

# assert_zeros FILE FROM: every byte of FILE from offset FROM on is zero.
assert_zeros() {
  local nonzero
  nonzero=$(tail -c +$(($2 + 1)) "$1" | tr -d '\0' | wc -c)
  [ "$nonzero" -eq 0 ] || fail "$1: $nonzero non-zero bytes after offset $2"
}

# --- the filter library on its own ---------------------------------------------
library=$(wine "$(harness_exe dshowtest)" 2>&1 | tr -d '\r') || fail "dshowtest: $library"

# --- registration -----------------------------------------------------------
wine cmd /c regtsfilters.bat || fail "regtsfilters.bat failed"
for clsid in "$source_clsid" "$sink_clsid"; do
  class_key_exists "$clsid" || fail "no class key $clsid"
  wine reg query "HKCR\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel | tr -d '\r' |
    grep -q "ThreadingModel.*REG_SZ.*Both" || fail "$clsid: ThreadingModel is not Both"
done
names=$(tsgraph names)
grep -qxF "filter=TelvantisTSSource" <<<"$names" || fail "TelvantisTSSource not registered"
grep -qxF "filter=TelvantisTSSink" <<<"$names" || fail "TelvantisTSSink not registered"

# --- a plain copy -------------------------------------------------------------
# Three blocks and 100 bytes, then a larger stream that is no block multiple.
for size in $((block * 3 + 100)) 20000100; do
  tsgraph gen src.ts "$size" >/dev/null
  out=$(tsgraph copy src.ts out.ts --timeout 60) || fail "copy of $size bytes: $out"
  grep -q "^event=" <<<"$out" && fail "copy of $size bytes sent an event: $out"
  copied=$(size_of out.ts)
  [ "$copied" -ge "$size" ] || fail "copy of $size bytes: only $copied in the file"
  [ $((copied % block)) -eq 0 ] || fail "copy of $size bytes: $copied is no whole number of blocks: $out"
  cmp -n "$size" src.ts out.ts || fail "copy of $size bytes does not begin with the source"
  assert_zeros out.ts "$size"
done

# --- seeking arithmetic ---------------------------------------------------------
truncate -s 230M sparse.ts
out=$(tsgraph seek sparse.ts 109000000)
assert_eq 1000000000 "$(value duration "$out")" "duration of 230 MiB"
assert_eq 95652173 "$(value position "$out")" "position after a seek to 10.9 s"
rm -f sparse.ts

# A seek to 10.9 s while running: the file holds the first blocks, then the
# source from block 471 (offset 24115200) on. The source is large so that the
# seek comes long before its end even when the machine is busy.
source_size=200000000
tsgraph gen src.ts "$source_size" >/dev/null
out=$(tsgraph copy src.ts out.ts --seek-after 5000000 --seek-to 109000000 --until 60000000) ||
  fail "copy with a seek: $out"
first_difference=$( (cmp src.ts out.ts || true) | sed -n "s/.* byte \([0-9]*\),.*/\1/p")
[ -n "$first_difference" ] || fail "the seek changed nothing in the output"
cut=$((first_difference - 1))
[ $((cut % block)) -eq 0 ] || fail "the seek cut the output at $cut, inside a block"
[ "$cut" -ge 5000000 ] || fail "the seek cut the output at $cut, before 5000000"
after=$(( $(size_of out.ts) - cut ))
tail_length=$((source_size - 24115200))
[ "$after" -gt 0 ] || fail "nothing after the seek"
compared=$(( after < tail_length ? after : tail_length ))
cmp -i "$cut:24115200" -n "$compared" out.ts src.ts || fail "after the seek the output is not the source from block 471"
[ "$after" -le "$tail_length" ] || assert_zeros out.ts $((cut + tail_length))
rm -f src.ts out.ts

# --- a full disk ------------------------------------------------------------------
# A file size limit of 10 MiB on the graph program stands for a full disk:
# the dump filter reports EC_ERRORABORT and keeps whole packets of the source.
tsgraph gen src.ts 20000100 >/dev/null
out=$(trap '' XFSZ; ulimit -f 10240; tsgraph copy src.ts full.ts --timeout 60) || true
grep -qxF "event=ERRORABORT" <<<"$out" || fail "no EC_ERRORABORT on a full disk: $out"
kept=$(size_of full.ts)
[ "$kept" -gt 0 ] && [ "$kept" -le 10485760 ] || fail "full disk: $kept bytes kept"
[ $((kept % 188)) -eq 0 ] || fail "full disk: $kept bytes is no whole number of packets"
cmp -n "$kept" src.ts full.ts || fail "full disk: the kept bytes are not the source's"

# --- Load of a missing file ------------------------------------------------------------
harness_start "$TEST_WORK" ./tsgraph.exe load "missing.ts"
loader=$HARNESS_PID
expect_box plain "CREATEFILE"
assert_status 0 harness_wait_exit "$loader" 30
out=$(tr -d '\r' <tsgraph.out)
assert_eq 0x80004005 "$(value load "$out")" "Load of a missing file"
assert_eq missing.ts "$(value curfile "$out")" "GetCurFile after the failed Load"

# A name with a wildcard converts, then fails to open with ERROR_INVALID_NAME:
# that is a file that cannot be opened, not a name that cannot be converted.
rm -f tsgraph.out
harness_start "$TEST_WORK" ./tsgraph.exe load "what?.ts"
loader=$HARNESS_PID
expect_box plain "CREATEFILE"
assert_status 0 harness_wait_exit "$loader" 30
out=$(tr -d '\r' <tsgraph.out)
assert_eq 0x80004005 "$(value load "$out")" "Load of a name with ?"

# --- unregistration ------------------------------------------------------------------------
wine cmd /c unregtsfilters.bat || fail "unregtsfilters.bat failed"
for clsid in "$source_clsid" "$sink_clsid"; do
  class_key_exists "$clsid" && fail "class key $clsid is still there"
done
names=$(tsgraph names)
grep -qE "^filter=TelvantisTS(Source|Sink)$" <<<"$names" && fail "a filter is still registered"

# The stream-buffer batch file runs under Wine (no stand-in servers here).
wine cmd /c regdvrmsfilters.bat || fail "regdvrmsfilters.bat failed"
rm -f src.ts out.ts full.ts
echo "transport-stream filters: all checks passed"
