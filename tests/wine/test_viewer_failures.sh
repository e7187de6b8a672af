#!/usr/bin/env bash
# A live graph build that fails at a step of the platform shows that step's
# text in its own box style, then "CAN'T BUILD TELVANTIS GRAPH", and the
# viewer ends without writing a file; the debug log ends at the last step
# announced.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/viewer_lib.sh"

trap 'wine "$devices_exe" clear >/dev/null 2>&1 || true
      wine reg delete "$standin_key" /v TuningSpaces /f >/dev/null 2>&1 || true
      set_failing_steps "" || true' EXIT

antenna=$(make_antenna "$TEST_WORK")
install_platform "$antenna"
virtual_tuner "$tuner" "$capture"

# new_case NAME: a folder with the channel list and an empty debug log.
new_case() {
  local dir
  dir=$(case_folder "$1")
  cp "$TEST_WORK/channels.txt" "$dir/"
  : >"$dir/telvdebug.txt"
  echo "$dir"
}

# The debug log of a build that came as far as the capture filter, and as
# far as the transport information filter.
through_capture_log="LOADING ATSC NETWORK PROVIDER
LOADING BDA TUNER
CONNECTING ATSC NETWORK PROVIDER->BDA TUNER

LOADING BDA CAPTURE/RECEIVER
CONNECTING BDA TUNER->BDA CAPTURE/RECEIVER"
through_demux_log="$through_capture_log

LOADING MPEG2 DEMULTIPLEXER
CONNECTING BDA CAPTURE/RECEIVER->MPEG2 DEMULTIPLEXER

LOADING BDA MPEG2 TRANSPORT STREAM INFORMATION
CONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM INFORMATION"

expect_build_failure() {
  expect_box plain "CAN'T BUILD TELVANTIS GRAPH"
  expect_exit
  assert_no_files "$1" config.txt chvols.txt
}

# No tuning space named "ATSC" on the system, and no ATSC space with the
# antenna input.
standin_install --tuning-spaces "ClearQAM:cable DVB-T:cable" >/dev/null || fail "cannot set the tuning spaces"
dir=$(new_case no-atsc-space)
start_viewer "$dir"
expect_box error "Could not find ATSC tuning space."
expect_box exclamation "CAN'T GET TUNING SPACE"
expect_build_failure "$dir"
assert_file_content "$dir/telvdebug.txt" "LOADING ATSC NETWORK PROVIDER
LOADING BDA TUNER"
wine reg delete "$standin_key" /v TuningSpaces /f >/dev/null

# The network provider refuses the tune request.
set_failing_steps "NetworkProvider.put_TuneRequest"
dir=$(new_case tune-refused)
start_viewer "$dir"
expect_box error "Failed to put tune request"
expect_box exclamation "CAN'T TUNE CHANNEL"
expect_build_failure "$dir"

# A tuner that cannot be connected.
set_failing_steps "Tuner.Connect"
dir=$(new_case tuner-not-connected)
start_viewer "$dir"
expect_boxes exclamation "COULDN'T CONNECT FILTERS" "CAN'T CONNECT BDA Tuner to BDA Capture"
expect_build_failure "$dir"
assert_file_content "$dir/telvdebug.txt" "$through_capture_log"
set_failing_steps ""

# decoders.txt names a video decoder that is not installed.
dir=$(new_case decoder-missing)
printf 'Telvantis Missing Video Decoder\nTelvantis Test AC-3 Audio Decoder\n' >"$dir/decoders.txt"
start_viewer "$dir"
expect_box exclamation "CAN'T LOAD Telvantis Missing Video Decoder"
expect_build_failure "$dir"
assert_file_content "$dir/telvdebug.txt" "$through_demux_log

USING DECODERS.TXT OK
LOADING VIDEO DECODER"

# Without decoders.txt a model above 2 connects the demultiplexer straight to
# the video renderer, leaving the decoder to the graph; when no decoder takes
# the video, that connection fails, and its own text comes in a plain box.
set_failing_steps "VideoDecoder.Connect"
dir=$(new_case demux-to-renderer)
start_viewer "$dir"
expect_box exclamation "COULDN'T CONNECT FILTERS"
expect_box plain "CANT CONNECT DEMUX TO VMR"
expect_build_failure "$dir"
assert_file_content "$dir/telvdebug.txt" "$through_demux_log

LOADING VMR
CONNECTING MPEG2 DEMULTIPLEXER->VMR"
set_failing_steps ""

# Without decoders.txt models 0 to 2 load their vendors' decoders by class id;
# where those are not installed the build ends at that step.
model_case() {
  local name=$1 tuner_name=$2 capture_name=$3 decoder_text=$4 decoder_line=$5
  virtual_tuner "$tuner_name" "$capture_name"
  dir=$(new_case "$name")
  start_viewer "$dir"
  expect_box exclamation "$decoder_text"
  expect_build_failure "$dir"
  assert_file_content "$dir/telvdebug.txt" "$through_demux_log

$decoder_line"
}
model_case ati "ATI DTV Wonder Digital BDA Tuner" "ATI DTV Wonder Digital BDA Capture" \
  "CAN'T LOAD ATI VIDEO DECODER" "LOADING ATI VIDEO DECODER"
model_case fusion "FusionHDTV, BDA ATSC Tuner/Demod" "FusionHDTV, Transport Stream Capture1" \
  "CAN'T LOAD FUSION VIDEO DECODER" "LOADING FUSIONHDTV VIDEO DECODER"
