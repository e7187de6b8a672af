#!/usr/bin/env bash
# Generates a three-program stream with its channel tables and programme
# guide (EIT-0 to EIT-5 and ETTs on PIDs of their own) and checks that
# ffprobe, an independent reader, finds every program with its MPEG-2 video
# size and AC-3 audio.
set -euo pipefail
tsgen=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '%s\n' "CHANNEL 33 1" "AT 0 MINUTES 30 EVERY 30 TIMES 30 TITLE News" "TEXT Every half hour." \
  "CHANNEL 33 2" $'AT 5 MINUTES 60 TITLE Caf\xC3\xA9 \xD0\x9C\xD0\xB8\xD1\x80' >"$dir/guide.txt"
"$tsgen" --out "$dir/rf33.ts" --seconds 3 --tsid 33 \
  --program 1:0x30:1280x720 --program 2:0x40:720x480 --program 3:0x50:704x480 \
  --channel 33:1:1:WTTT --channel "33:2:2:WTTT 2" --channel 33:3:3 --channel 33:4:4::hidden \
  --guide "$dir/guide.txt" --eits 6
report=$(ffprobe -v error -show_entries stream=codec_name,width,height:program=program_num \
  -of compact "$dir/rf33.ts")
echo "$report"
for expected in "program_num=1" "program_num=2" "program_num=3" \
                "codec_name=mpeg2video|width=1280|height=720" \
                "codec_name=mpeg2video|width=720|height=480" \
                "codec_name=mpeg2video|width=704|height=480" "codec_name=ac3"; do
  grep -q -F "$expected" <<<"$report" || { echo "ffprobe did not report: $expected"; exit 1; }
done
# Pictures and sound must decode without a single error.
errors=$(ffmpeg -v error -i "$dir/rf33.ts" -map 0 -f null - 2>&1 || true)
[ -z "$errors" ] || { echo "decoding failed: $errors"; exit 1; }
echo "ffprobe read the generated stream"
