#pragma once
// The players' graph: a recording's source (the stream-buffer source, or the
// push source with the MPEG-2 demultiplexer and two pins mapped to one
// program), the decoders, the windowless VMR-7 in the player's video window
// and the DirectSound renderer. Built once, on the first file; later files
// are loaded into the same source.

#include <windows.h>
#include <dshow.h>
#include <bdaiface.h>
#include <wrl/client.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/files/TunerFiles.h"
#include "core/ts/ProgramScan.h"
#include "graph/GraphOutcome.h"
#include "graph/PlaybackGraphPlan.h"
#include "graph/WindowlessRenderer.h"

struct PlaybackRequest {
  PlaybackSource source = PlaybackSource::StreamBuffer;
  std::string file;                    // in the ANSI code page
  int modelNumber = 0;                 // value 1 of config.txt: the built-in decoders
  std::optional<DecoderNames> decoders;  // decoders.txt, when it is there
  HWND videoWindow = nullptr;
  bool primaryDisplay = true;
  // Transport streams: whether the file could be read for its programs, and
  // the first program's PIDs (none mapped when the file has no program) and
  // how its sound is coded.
  bool fileReadable = true;
  std::optional<std::uint32_t> videoPid;
  std::optional<std::uint32_t> audioPid;
  AudioCoding audioCoding = AudioCoding::Ac3;
};

struct PlaybackGraph {
  Microsoft::WRL::ComPtr<IGraphBuilder> graph;
  Microsoft::WRL::ComPtr<IBaseFilter> source;  // stream-buffer source or push source
  Microsoft::WRL::ComPtr<IFileSourceFilter> fileSource;
  Microsoft::WRL::ComPtr<IBaseFilter> demux;
  Microsoft::WRL::ComPtr<IMPEG2PIDMap> videoMap;
  Microsoft::WRL::ComPtr<IMPEG2PIDMap> audioMap;
  Microsoft::WRL::ComPtr<IBaseFilter> videoDecoder;
  Microsoft::WRL::ComPtr<IBaseFilter> audioDecoder;
  Microsoft::WRL::ComPtr<IBaseFilter> videoRenderer;
  Microsoft::WRL::ComPtr<IBaseFilter> soundRenderer;
  Microsoft::WRL::ComPtr<IMediaControl> control;
  Microsoft::WRL::ComPtr<IBasicAudio> audio;
  Microsoft::WRL::ComPtr<IMediaSeeking> seeking;
  WindowlessRenderer renderer;
  // The vendor's video decoder is paused before the graph runs and started
  // right after it, or it does not start.
  bool holdDecoder = false;
  // The media type the demultiplexer's audio pin has now.
  AudioCoding audioCoding = AudioCoding::Ac3;
};

// Builds the graph for the request's file and runs it (PlaybackGraphBuilder.cpp).
// Failures end the build with their message; the graph is then torn down,
// so that the next file builds from the start.
GraphOutcome BuildPlaybackGraph(PlaybackGraph& graph, const PlaybackRequest& request);

// Runs the graph, with the decoder hold when the build asked for it.
HRESULT RunPlayback(PlaybackGraph& graph);

// Loads another file into the source (ANSI name).
HRESULT LoadPlaybackFile(PlaybackGraph& graph, const std::string& file);

// Creates the demultiplexer's "Video Pin" and "Audio Pin" (its sound coded
// as `coding`) and maps the PIDs given. E_NOINTERFACE when the filter is no
// configurable demultiplexer; a pin that cannot be made or mapped is not
// reported: the connections that follow name it.
HRESULT CreateProgramPins(PlaybackGraph& graph, std::optional<std::uint32_t> videoPid,
                          std::optional<std::uint32_t> audioPid, AudioCoding coding);

// Maps or unmaps one program's PIDs on the demultiplexer's two pins.
// Failures are not reported: a pin without its PID stays silent.
void MapProgram(PlaybackGraph& graph, std::uint32_t videoPid, std::uint32_t audioPid);
void UnmapProgram(PlaybackGraph& graph, std::uint32_t videoPid, std::uint32_t audioPid);

// Gives the demultiplexer's audio pin the media type of `coding` when it has
// another one (the graph is stopped). A refusal is not reported: the pin
// keeps its type and stays silent for the other coding.
void SetAudioCoding(PlaybackGraph& graph, AudioCoding coding);

// Takes the graph's waiting events; true when one of them tells that every
// stream has played to its end.
bool TakeCompletion(PlaybackGraph& graph);

// Stops the graph, takes every filter out and lets go of everything.
void TearDownPlayback(PlaybackGraph& graph);
