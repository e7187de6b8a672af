#!/usr/bin/env bash
# make-antenna.sh DIR [SECONDS]: makes the default virtual antenna in DIR:
# one transport stream per RF channel (SECONDS long, default 4; the virtual
# tuner loops it), antenna.txt naming them, a channels.txt that lists every
# channel the antenna carries, and antenna-guide.txt, the programme guide the
# stations broadcast (its format is described at its top).
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
# Every stream's clock (STT) starts at the same moment, when this script
# runs (or at $ANTENNA_START), and each sends EIT-0 to EIT-3 (twelve hours)
# of the guide for its channels, with the descriptions in ETTs; RF 9 sends
# further EITs, as far as its guide goes (36 hours). Minute 0 of the guide
# is the start rounded down to the minute, written in the guide's header.
# For the recording tests:
# 7-1 shows "Weather Now" at minute 2 and "Traffic Desk" at minute 4 (two
# minutes each); 33-2 shows "Quiz Time" every 3 minutes from minute 3, ten
# times, two minutes each; 7-2 starts with a long title in Cyrillic and
# Japanese (sent as UTF-16).
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

# ANTENNA_START (seconds since 1970) moves the streams' clock, and with it
# the guide's minute 0, away from now: a test places programmes where it
# needs them.
start=${ANTENNA_START:-$(date +%s)}
[[ $start =~ ^[0-9]+$ ]] || usage
guide="$dir/antenna-guide.txt"
{
  cat <<'HEADER'
# The programme guide of the default virtual antenna, broadcast by tsgen
# (--guide) in the event and extended text tables of each station.
#
#   CHANNEL MAJOR MINOR
#     the virtual channel whose programmes follow (major 1-999, minor 0-999)
#   AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] TITLE title
#     a programme START minutes after minute 0 (0 to 20160), LENGTH minutes
#     long (1 to 17476); with EVERY and TIMES shown COUNT times (1 to 1000),
#     PERIOD minutes apart (at least LENGTH); the title is the rest of the
#     line, 1 to 80 characters of UTF-8
#   TEXT description
#     the description of the programme of the AT line above (up to 1000
#     characters), sent in an ETT; every showing gets the same
#
# A channel's programmes must not overlap; blank lines and lines starting
# with # are skipped. A channel a station does not carry is passed over.
# Titles that are all Latin-1 are sent as Latin-1, others as UTF-16.
HEADER
  echo "#"
  echo "# The streams start at $start ($(date -u -d "@$start" '+%Y-%m-%d %H:%M:%S') UTC); minute 0 is"
  echo "# $(date -u -d "@$((start - start % 60))" '+%Y-%m-%d %H:%M') UTC."
  cat <<'GUIDE'

CHANNEL 7 1
AT 0 MINUTES 2 TITLE Headlines
TEXT The top stories in two minutes.
AT 2 MINUTES 2 TITLE Weather Now
TEXT Today's forecast for the coast and the hills.
AT 4 MINUTES 2 TITLE Traffic Desk
TEXT Roads, rails and the airport.
AT 6 MINUTES 54 TITLE Morning Magazine
TEXT Guests, music and the market report.
AT 60 MINUTES 120 TITLE The Long Match
TEXT Live football from the harbour stadium, with the build-up and the whistle.
AT 180 MINUTES 30 TITLE Noon News
AT 210 MINUTES 90 TITLE Afternoon Film: The Lighthouse
TEXT A keeper and his daughter weather the great storm of 1952.
AT 300 MINUTES 60 TITLE Cooking with Ana
TEXT Ana bakes a café-style pear tart.
AT 360 MINUTES 150 TITLE Evening Theatre
TEXT A three-act comedy recorded at the city playhouse.
AT 510 MINUTES 90 TITLE Coastlines
TEXT The tides, the birds and the people of the northern shore.
AT 600 MINUTES 120 TITLE Night Movie: Silver Road
TEXT Two drivers, one truck and a long way to go.
AT 720 MINUTES 60 TITLE Overnight News

CHANNEL 7 2
AT 0 MINUTES 90 TITLE Путешествие по Байкалу — 湖の冬と旅人たち: A Winter Journey Special
TEXT Лёд, ветер и люди Байкала; 冬の湖を旅する. A journey across the frozen lake.
AT 90 MINUTES 60 EVERY 60 TIMES 11 TITLE HD Showcase
TEXT Landscapes in high definition, without words.
AT 750 MINUTES 60 TITLE Closedown

CHANNEL 9 1
AT 0 MINUTES 60 EVERY 120 TIMES 18 TITLE Nature Hour
TEXT Animals of the forest and the river.
AT 60 MINUTES 60 EVERY 120 TIMES 18 TITLE Science Today
TEXT What the laboratories found this week.

CHANNEL 33 1
AT 0 MINUTES 30 TITLE Early Edition
TEXT The news as it comes in.
AT 30 MINUTES 150 TITLE Classic Cinema: The Iron Bridge
TEXT An engineer races the river to finish the bridge before the flood.
AT 180 MINUTES 60 TITLE Garden Hour
AT 240 MINUTES 180 TITLE Motor Racing
TEXT The whole race from the grid to the flag.
AT 420 MINUTES 60 TITLE World Report
TEXT Correspondents from five continents.
AT 480 MINUTES 240 TITLE Music Night
TEXT Four hours of concerts from the summer festivals.
AT 720 MINUTES 60 TITLE Late News

CHANNEL 33 2
AT 0 MINUTES 3 TITLE Station Break
AT 3 MINUTES 2 EVERY 3 TIMES 10 TITLE Quiz Time
TEXT Three questions, two minutes, one winner.
AT 33 MINUTES 87 TITLE Puzzle Hour
TEXT Crosswords and riddles with the audience at home.
AT 120 MINUTES 120 EVERY 120 TIMES 6 TITLE Game Show Marathon
TEXT Back-to-back episodes of the classic game shows.

CHANNEL 33 3
AT 0 MINUTES 120 EVERY 120 TIMES 7 TITLE Kids Club
TEXT Cartoons, crafts and songs.
GUIDE
} | write_whole "$guide"

# The extra programs are small pictures so that all of them fit the ATSC
# mux rate beside the first.
"$tsgen" --out "$dir/rf7.ts" --seconds "$seconds" --tsid 7 \
  --program 1:0x30:1920x1080 --program 2:0x40:720x480 \
  --channel 7:1:1:WSVN --channel "7:2:2:WSVN HD" \
  --guide "$guide" --start "$start"
"$tsgen" --out "$dir/rf9.ts" --seconds "$seconds" --tsid 9 \
  --program 1:0x30:1280x720 \
  --channel 9:1:1:WNIN \
  --guide "$guide" --eits all --start "$start"
"$tsgen" --out "$dir/rf33.ts" --seconds "$seconds" --tsid 33 \
  --program 1:0x30:1920x1080 --program 2:0x40:720x480 --program 3:0x50:720x480 \
  --channel 33:1:1:WTTT --channel 33:2:2:WTTT2 --channel 33:3:3:WTTT3 \
  --channel 33:4:4:WTTT4:hidden \
  --guide "$guide" --start "$start"

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
