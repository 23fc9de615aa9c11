// The MPEG audio decoder (layers I, II and III) over libmpg123, always giving 16-bit PCM.
#pragma once

#include "player/Modules.h"

#include <cstdint>

// Reads up to bytes from a stream into buffer; the count read, 0 only at its end.
using Mp3StreamReader = DWORD (*)(void* source, void* buffer, DWORD bytes);

// Opens the decoder on a stream read forwards only (a network download): 1 when MPEG audio was
// found in it. The length is unknown (0) and seeks do nothing; everything else is as for a file.
int Mp3OpenStream(CodecModule* module, Mp3StreamReader reader, void* source);

// The exact length of an open file in sample frames, from a scan of every frame header (with the
// encoder delay and padding that a LAME tag states taken off); -1 when no file is open.
int64_t Mp3LengthInSamples(CodecModule* module);
