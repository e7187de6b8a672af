#pragma once
// Reads the virtual antenna named by the stand-in settings.

#include "standin/antenna/Antenna.h"

namespace standin {

// The antenna file of the settings, read anew on every call (tests change it
// between tunes), its relative file names resolved. A missing setting or
// file, or one over 1 MB, gives an antenna that receives nothing; every problem, and each bad
// line, is reported on standard error as "telvstandin: ...".
Antenna LoadAntenna();

}  // namespace standin
