#pragma once
// The plans of the silent recorders' graphs. Both start with the source
// chain (network provider -> tuner, tuned -> capture) under the recorders'
// own failure texts:
//   stream buffer:    ... -> demultiplexer -> TIF; demultiplexer -> analyser
//                     -> sink; then the graph runs and a content recorder
//                     starts on the recording's name.
//   transport stream: ... capture -> infinite tee -> dump filter (the file);
//                     tee -> demultiplexer -> TIF, which only serves tuning.
// Neither has a decoder or a renderer.

#include "core/tuning/TuningModel.h"
#include "graph/GraphPlan.h"

// The stream-buffer recorder's graph; model 8 has no capture step.
GraphPlan StreamBufferRecordingPlan(const TuningModel* model);

// The transport-stream recorder's graph; every model has a capture step.
GraphPlan TransportStreamRecordingPlan(const TuningModel* model);

// The devices the transport-stream recorder accepts for a model: a tuner
// without a capture filter of its own (model 8) is taken, in both device
// categories, under its receiver's name or its capture name.
TuningModel TransportStreamRecorderDevices(const TuningModel& model);
