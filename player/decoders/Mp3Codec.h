// The MPEG audio decoder (layers I, II and III) over libmpg123, always giving 16-bit PCM.
#pragma once

#include "player/Modules.h"

#include <cstdint>

// The exact length of an open file in sample frames, from a scan of every frame header (with the
// encoder delay and padding that a LAME tag states taken off); -1 when no file is open.
int64_t Mp3LengthInSamples(CodecModule* module);
