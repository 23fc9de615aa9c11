#include "player/outputs/OutputFeed.h"

#include <algorithm>
#include <cstring>

DWORD FeedBlock(OutputModule* module, BYTE* shadow, BYTE* play, DWORD maxBytes, const FileInfo& info,
                bool* ended) {
    DWORD bytes = maxBytes;
    int more = module->codec->GetPCMBlock(module->codec, shadow, &bytes);
    bytes = std::min(bytes, maxBytes);
    if (bytes > 0) {
        std::memcpy(play, shadow, bytes);
        if (module->equaliser != nullptr) {
            module->equaliser->Apply(module->equaliser, play, bytes, &info);
        }
    }
    *ended = more == 0;
    if (*ended) {
        module->codec->CloseFile(module->codec);
        module->codec = nullptr;
    }
    return bytes;
}
