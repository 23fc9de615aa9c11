// What both outputs do with every block: take it from the decoder into its shadow copy (kept so
// that an equaliser change can be applied again), copy it to where it plays, equalise it there,
// and at the end of the file close the file and detach the decoder.
#pragma once

#include "player/Modules.h"

#include <windows.h>

// Up to maxBytes from the output's decoder; the bytes taken. ended becomes true when the file
// ended (the decoder is then detached), false otherwise.
DWORD FeedBlock(OutputModule* module, BYTE* shadow, BYTE* play, DWORD maxBytes, const FileInfo& info,
                bool* ended);
