#include "player/decoders/StreamCodec.h"

#include "player/NetStream.h"
#include "player/decoders/Mp3Codec.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct StreamState {
    StreamState() = default;
    ~StreamState() {
        if (mpegOpen) {
            mpeg.Uninitialise(&mpeg);
        }
        if (stream) {
            stream->Stop();
        }
    }
    StreamState(const StreamState&) = delete;
    StreamState& operator=(const StreamState&) = delete;

    std::shared_ptr<NetStream> stream;
    // An MPEG stream is handed to the MPEG decoder, which reads the download itself.
    CodecModule mpeg = {};
    bool mpegOpen = false;
    // A WAV stream is read here.
    FileInfo info = {};
    DWORD bytesPerSecond = 0;
    DWORD blockAlign = 1;
    // Bytes of the "data" chunk still to come; streams that do not know their length say so
    // with 0 or 0xFFFFFFFF, and then the end of the download ends the file.
    unsigned long long dataLeft = 0;
    unsigned long long delivered = 0;
};

StreamState* State(CodecModule* module) {
    return static_cast<StreamState*>(module->state);
}

DWORD ReadFromNetwork(void* source, void* buffer, DWORD bytes) {
    return static_cast<NetStream*>(source)->Read(buffer, bytes);
}

bool SkipBytes(NetStream& stream, DWORD bytes) {
    BYTE skip[256];
    while (bytes > 0) {
        const DWORD step = std::min<DWORD>(bytes, sizeof(skip));
        if (!stream.ReadExactly(skip, step)) {
            return false;
        }
        bytes -= step;
    }
    return true;
}

// Reads the RIFF header and the chunks up to "data"; the stream then stands at the first sample.
bool ReadWavHeader(StreamState& state) {
    NetStream& stream = *state.stream;
    if (!SkipBytes(stream, 12)) {
        return false;
    }
    bool haveFormat = false;
    for (;;) {
        char id[4];
        DWORD size = 0;
        if (!stream.ReadExactly(id, 4) || !stream.ReadExactly(&size, 4)) {
            return false;
        }
        if (std::memcmp(id, "data", 4) == 0) {
            if (!haveFormat) {
                return false;
            }
            const bool unknown = size == 0 || size == 0xFFFFFFFF;
            state.dataLeft = unknown ? ~0ull : size;
            state.info.lengthSeconds = unknown ? 0 : static_cast<int32_t>(size / state.bytesPerSecond);
            return true;
        }
        const DWORD padded = size + (size & 1);
        if (std::memcmp(id, "fmt ", 4) != 0) {
            if (!SkipBytes(stream, padded)) {
                return false;
            }
            continue;
        }
        BYTE format[256];
        if (size < 16 || size > sizeof(format) || !stream.ReadExactly(format, padded)) {
            return false;
        }
        WORD tag, channels, bits;
        DWORD rate;
        std::memcpy(&tag, format, 2);
        std::memcpy(&channels, format + 2, 2);
        std::memcpy(&rate, format + 4, 4);
        std::memcpy(&bits, format + 14, 2);
        if (tag != 1 || rate == 0 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) {
            return false;
        }
        state.info.sampleRate = static_cast<int32_t>(rate);
        state.info.stereo = channels == 2 ? 1 : 0;
        state.info.bits16 = bits == 16 ? 1 : 0;
        state.blockAlign = channels * bits / 8;
        state.bytesPerSecond = rate * state.blockAlign;
        haveFormat = true;
    }
}

void CloseFile(CodecModule* module) {
    delete State(module);
    module->state = nullptr;
}

int OpenFile(CodecModule* module, const char* path, DWORD, HWND notifyWindow) {
    CloseFile(module);
    auto state = std::make_unique<StreamState>();
    state->stream = NetStream::Start(path, notifyWindow);
    if (!state->stream->WaitToStart()) {
        return 0;
    }
    char head[12] = {};
    const DWORD seen = state->stream->Buffer().Peek(head, sizeof(head));
    if (seen == sizeof(head) && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0) {
        if (!ReadWavHeader(*state)) {
            return 0;
        }
    } else {
        // Anything else is tried as MPEG audio: a stream has no extension to go by, and a WMA
        // stream is not played (its library opens files only).
        InitMp3Codec(&state->mpeg);
        state->mpegOpen = true;
        if (Mp3OpenStream(&state->mpeg, ReadFromNetwork, state->stream.get()) != 1) {
            return 0;
        }
        state->mpeg.GetFileInfo(&state->mpeg, &state->info);
    }
    module->state = state.release();
    return 1;
}

void Seek(CodecModule*, int, int) {
    // A live stream cannot go back, and going forward would mean waiting for the bytes anyway.
}

void GetFileInfo(CodecModule* module, FileInfo* info) {
    StreamState* state = State(module);
    *info = state != nullptr ? state->info : FileInfo{};
}

int GetWavBlock(StreamState& state, void* buffer, DWORD* inOutBytes) {
    NetStream& stream = *state.stream;
    DWORD want = static_cast<DWORD>(std::min<unsigned long long>(*inOutBytes, state.dataLeft));
    want -= want % state.blockAlign;
    // What has arrived is handed on at once: the engine should not sit in a wait with audio in hand.
    DWORD got = want == 0 ? 0 : stream.Read(buffer, want);
    // The device takes whole sample frames only.
    const DWORD partial = got % state.blockAlign;
    if (partial != 0) {
        got = stream.ReadExactly(static_cast<BYTE*>(buffer) + got, state.blockAlign - partial)
                  ? got + state.blockAlign - partial
                  : got - partial;
    }
    *inOutBytes = got;
    state.delivered += got;
    if (state.dataLeft != ~0ull) {
        state.dataLeft -= got;
    }
    return state.dataLeft == 0 || got == 0 ? 0 : 1;
}

int GetPCMBlock(CodecModule* module, void* buffer, DWORD* inOutBytes) {
    StreamState* state = State(module);
    if (state == nullptr) {
        *inOutBytes = 0;
        return 0;
    }
    return state->mpegOpen ? state->mpeg.GetPCMBlock(&state->mpeg, buffer, inOutBytes)
                           : GetWavBlock(*state, buffer, inOutBytes);
}

int GetCurrentPos(CodecModule* module) {
    StreamState* state = State(module);
    if (state == nullptr) {
        return 0;
    }
    if (state->mpegOpen) {
        return state->mpeg.GetCurrentPos(&state->mpeg);
    }
    return state->bytesPerSecond == 0 ? 0 : static_cast<int>(state->delivered / state->bytesPerSecond);
}

void Uninitialise(CodecModule* module) {
    CloseFile(module);
}

} // namespace

void InitStreamCodec(CodecModule* module) {
    *module = CodecModule{};
    module->Uninitialise = Uninitialise;
    module->OpenFile = OpenFile;
    module->CloseFile = CloseFile;
    module->Seek = Seek;
    module->GetFileInfo = GetFileInfo;
    module->GetPCMBlock = GetPCMBlock;
    module->GetCurrentPos = GetCurrentPos;
}
