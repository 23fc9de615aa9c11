// The decoder of "http:" paths: the engine's network download read as it arrives, a RIFF WAVE
// stream of PCM or an MPEG audio stream, its length unknown and no seeking.
#pragma once

#include "player/Modules.h"

void InitStreamCodec(CodecModule* module);
