#pragma once
// The plan of the live graph: network provider -> tuner -> capture ->
// demultiplexer -> transport information filter, tuned; then the decoders
// and the renderers; then the graph is started. It depends on two facts of
// the model (a capture filter or not, how the decoders come) and on
// decoders.txt.

#include <optional>

#include "core/files/TunerFiles.h"
#include "core/tuning/TuningModel.h"
#include "graph/GraphPlan.h"

// The source chain, which every graph that receives from the tuner starts
// with. Without a model a capture filter is looked for (and nothing is
// accepted).
GraphPlan SourceChainPlan(const TuningModel* model);

// The whole live graph build. `decoders` holds the names of decoders.txt
// when the file is there.
GraphPlan LiveGraphPlan(const TuningModel* model, const std::optional<DecoderNames>& decoders);
