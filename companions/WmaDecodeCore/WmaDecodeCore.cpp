#include "companions/WmaDecodeCore/WmaDecodeCore.h"

#include "companions/WmaDecodeCore/WmaFileReader.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <new>

namespace {

WmaFileReader* ReaderOf(WmaDecodeState* state) {
    return state != nullptr ? static_cast<WmaFileReader*>(state->decoder) : nullptr;
}

} // namespace

int __cdecl fnWMAInitalize() {
    return avcodec_find_decoder(AV_CODEC_ID_WMAV1) != nullptr &&
                   avcodec_find_decoder(AV_CODEC_ID_WMAV2) != nullptr
               ? kWmaDecodeOk
               : kWmaDecodeNoDecoder;
}

int __cdecl fnWMAOpenFile(const char* path, WmaDecodeState* state) {
    if (path == nullptr || state == nullptr) {
        return kWmaDecodeBadArgument;
    }
    state->decoder = nullptr;
    auto* reader = new (std::nothrow) WmaFileReader();
    if (reader == nullptr) {
        return kWmaDecodeOutOfMemory;
    }
    int result = reader->Open(path);
    if (result != kWmaDecodeOk) {
        delete reader;
        return result;
    }
    state->lengthSeconds = static_cast<DWORD>((reader->DurationMs() + 500) / 1000);
    state->reserved = 0;
    state->sampleRate = static_cast<DWORD>(reader->SampleRate());
    state->stereo = reader->Channels() == 2 ? 1 : 0;
    state->sixteenBit = 1;
    state->channels = static_cast<DWORD>(reader->Channels());
    state->durationMs = static_cast<DWORD>(reader->DurationMs());
    state->bitrate = static_cast<DWORD>(reader->Bitrate());
    state->decoder = reader;
    return kWmaDecodeOk;
}

int __cdecl fnGetPCMBlock(WmaDecodeState* state, BYTE* buffer, DWORD* bytes) {
    WmaFileReader* reader = ReaderOf(state);
    if (reader == nullptr || buffer == nullptr || bytes == nullptr) {
        if (bytes != nullptr) {
            *bytes = 0;
        }
        return kWmaDecodeBadArgument;
    }
    *bytes = static_cast<DWORD>(reader->Read(buffer, *bytes));
    return *bytes > 0 ? 1 : 0;
}

int __cdecl fnWMADeInitalize(WmaDecodeState* state) {
    if (state != nullptr) {
        delete ReaderOf(state);
        state->decoder = nullptr;
    }
    return kWmaDecodeOk;
}
