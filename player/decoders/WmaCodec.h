// The WMA decoder: WmaDecodeCore.dll, loaded from a folder on first use.
#pragma once

#include "player/Modules.h"

// As InitWmaCodec, but the library is looked for in folder instead of the program's folder.
void InitWmaCodecFromFolder(CodecModule* module, const char* folder);
