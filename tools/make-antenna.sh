#!/usr/bin/env bash
# make-antenna.sh DIR [SECONDS]: makes the default virtual antenna in DIR:
# one transport stream per RF channel (SECONDS long, default 4; the virtual
# tuner loops it), antenna.txt naming them, and a channels.txt that lists
# every channel the antenna carries.
#
#   RF 7  (signal 80): 7-1 "WSVN" program 1 (1920x1080),
#                      7-2 "WSVN HD" program 2 (720x480)
#   RF 9  (signal 60): 9-1 "WNIN" program 1 (1280x720)
#   RF 33 (signal 45): 33-1 "WTTT" program 1 (1920x1080), 33-2 "WTTT2"
#                      program 2 and 33-3 "WTTT3" program 3 (720x480)
#
# Each stream announces its channels in its channel tables (PID 0x1FFB).
# RF 33's table also holds the hidden channel 33-4 "WTTT4" for program 4,
# which the stream does not carry and antenna.txt does not list: a channel
# scan must not offer it.
#
# tsgen is taken from $TSGEN, else from the native build tree.
set -euo pipefail

usage() { echo "usage: make-antenna.sh DIR [SECONDS]" >&2; exit 2; }
[ "$#" -ge 1 ] && [ "$#" -le 2 ] || usage
dir=$1
seconds=${2:-4}
[[ $seconds =~ ^[0-9]+([.][0-9]+)?$ ]] || usage

top=$(cd "$(dirname "$0")/.." && pwd)
tsgen=${TSGEN:-}
if [ -z "$tsgen" ]; then
  for candidate in "$top/build/native/tools/tsgen" "$top"/build/*native*/tools/tsgen; do
    [ -x "$candidate" ] && { tsgen=$candidate; break; }
  done
fi
[ -n "$tsgen" ] && [ -x "$tsgen" ] || { echo "make-antenna.sh: no tsgen (build the native tree or set TSGEN)" >&2; exit 1; }
mkdir -p "$dir" || { echo "make-antenna.sh: cannot make $dir" >&2; exit 1; }

# Writes stdin to FILE through a temporary file, so FILE is never half made.
write_whole() {
  local tmp
  tmp=$(mktemp "$1.XXXXXX")
  cat >"$tmp" && chmod 644 "$tmp" && mv -f "$tmp" "$1"
}

# The extra programs are small pictures so that all of them fit the ATSC
# mux rate beside the first.
"$tsgen" --out "$dir/rf7.ts" --seconds "$seconds" --tsid 7 \
  --program 1:0x30:1920x1080 --program 2:0x40:720x480 \
  --channel 7:1:1:WSVN --channel "7:2:2:WSVN HD"
"$tsgen" --out "$dir/rf9.ts" --seconds "$seconds" --tsid 9 \
  --program 1:0x30:1280x720 \
  --channel 9:1:1:WNIN
"$tsgen" --out "$dir/rf33.ts" --seconds "$seconds" --tsid 33 \
  --program 1:0x30:1920x1080 --program 2:0x40:720x480 --program 3:0x50:720x480 \
  --channel 33:1:1:WTTT --channel 33:2:2:WTTT2 --channel 33:3:3:WTTT3 \
  --channel 33:4:4:WTTT4:hidden

write_whole "$dir/antenna.txt" <<'ANTENNA'
# The default virtual antenna: RF channel, signal strength, stream file;
# then the major-minor channels of that RF channel, their programs and the
# names their stations give them.
RF 7 SIGNAL 80 FILE rf7.ts
CHANNEL 7 1 PROGRAM 1 NAME WSVN
CHANNEL 7 2 PROGRAM 2 NAME WSVN HD
RF 9 SIGNAL 60 FILE rf9.ts
CHANNEL 9 1 PROGRAM 1 NAME WNIN
RF 33 SIGNAL 45 FILE rf33.ts
CHANNEL 33 1 PROGRAM 1 NAME WTTT
CHANNEL 33 2 PROGRAM 2 NAME WTTT2
CHANNEL 33 3 PROGRAM 3 NAME WTTT3
ANTENNA

printf '%s\n' 6 "WSVN 7 7 1" "WSVN2 7 7 2" "WNIN 9 9 1" "WTTT 33 33 1" "WTTT2 33 33 2" \
  "WTTT3 33 33 3" | write_whole "$dir/channels.txt"
echo "made the default antenna in $dir"
