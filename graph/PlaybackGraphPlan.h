#pragma once
// The plan of the players' graph: the source side (the stream-buffer
// source, or the push source feeding the MPEG-2 demultiplexer and its two
// pins), the decoders (named in decoders.txt, the tuner vendor's by model
// number, or none), the windowless video renderer with its fallback to the
// default renderer, the DirectSound renderer, the controls the player works
// through, and the run with the decoder hold.

#include <optional>
#include <string_view>

#include "core/files/TunerFiles.h"
#include "graph/GraphPlan.h"

enum class PlaybackSource { StreamBuffer, TransportStream };

// Whether the video decoder is paused before the graph runs and started
// right after it: the Fusion models' decoder (named, or taken by class when
// decoders.txt is missing) does not start otherwise.
bool HoldsVideoDecoder(int modelNumber, const std::optional<DecoderNames>& decoders);

// The whole build. `decoders` holds the names of decoders.txt when the file
// is there; without it the model number chooses the vendor's decoders
// (0: ATI, 1 and 2: Fusion) or none, and the graph inserts what it needs.
GraphPlan PlaybackGraphPlan(PlaybackSource source, int modelNumber,
                            const std::optional<DecoderNames>& decoders);
