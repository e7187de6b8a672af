#pragma once
// What the commands of standinsbe share: the result lines and the commands.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "dshow/StreamBufferInterfaces.h"
#include "tests/wine/shared/GraphTestProgram.h"
#include "tests/wine/shared/TunerChain.h"

using Microsoft::WRL::ComPtr;

// "name=value" lines.
void PrintValue(const char* name, long long value);
// Positions in whole milliseconds.
void PrintPositions(const char* prefix, IStreamBufferMediaSeeking* seeking);

int Record(const char* folder, double seconds, Channel channel, const char* recording);
int Play(const char* file, double seekSeconds);
int Check(const char* file);
int Edges(const char* folder);
int Hole(const char* folder, Channel channel);
