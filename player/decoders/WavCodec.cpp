// The WAV decoder: passes a PCM WAV file's data chunk through as it is.
#include "player/decoders/WavCodec.h"

#include <algorithm>
#include <cstring>

namespace {

struct WavState {
    HANDLE file = INVALID_HANDLE_VALUE;
    WavLayout layout;
    FileInfo info{};
    uint32_t position = 0; // bytes of the data chunk handed out or skipped
};

WavState& StateOf(CodecModule* module) {
    return *static_cast<WavState*>(module->state);
}

bool ReadAt(HANDLE file, uint64_t offset, void* buffer, DWORD bytes) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, buffer, bytes, &got, nullptr) &&
           got == bytes;
}

uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void WavCloseFile(CodecModule* module) {
    WavState& state = StateOf(module);
    if (state.file != INVALID_HANDLE_VALUE) {
        CloseHandle(state.file);
        state.file = INVALID_HANDLE_VALUE;
    }
    state.layout = WavLayout{};
    state.info = FileInfo{};
    state.position = 0;
}

int WavOpenFile(CodecModule* module, const char* path, DWORD, HWND) {
    WavCloseFile(module);
    WavState& state = StateOf(module);
    // Write sharing too: a captured track may still be held open by the recorder that writes it.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    WavLayout layout;
    if (!ReadWavLayout(file, layout)) {
        CloseHandle(file);
        return 0;
    }
    LARGE_INTEGER start;
    start.QuadPart = layout.dataStart;
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        CloseHandle(file);
        return 0;
    }
    state.file = file;
    state.layout = layout;
    state.info.lengthSeconds = static_cast<int32_t>(layout.dataSize / layout.BytesPerSecond());
    state.info.reserved = 0;
    state.info.sampleRate = static_cast<int32_t>(layout.sampleRate);
    state.info.stereo = layout.channels == 2 ? 1 : 0;
    state.info.bits16 = layout.bitsPerSample == 16 ? 1 : 0;
    return 1;
}

void WavSeek(CodecModule* module, int numerator, int denominator) {
    WavState& state = StateOf(module);
    if (state.file == INVALID_HANDLE_VALUE || denominator <= 0 || numerator < 0) {
        return;
    }
    uint64_t target = uint64_t{state.layout.dataSize} * static_cast<uint64_t>(numerator) /
                      static_cast<uint64_t>(denominator);
    target = std::min<uint64_t>(target, state.layout.dataSize);
    target -= target % state.layout.BlockAlign();
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(state.layout.dataStart + target);
    if (SetFilePointerEx(state.file, at, nullptr, FILE_BEGIN)) {
        state.position = static_cast<uint32_t>(target);
    }
}

void WavGetFileInfo(CodecModule* module, FileInfo* info) {
    *info = StateOf(module).info;
}

int WavGetPCMBlock(CodecModule* module, void* buffer, DWORD* inOutBytes) {
    WavState& state = StateOf(module);
    DWORD wanted = *inOutBytes;
    *inOutBytes = 0;
    if (state.file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    uint32_t left = state.layout.dataSize - state.position;
    wanted = std::min<DWORD>(wanted, left);
    wanted -= wanted % state.layout.BlockAlign();
    DWORD got = 0;
    if (wanted == 0 || !ReadFile(state.file, buffer, wanted, &got, nullptr) || got == 0) {
        return 0;
    }
    state.position += got;
    *inOutBytes = got;
    return 1;
}

int WavGetCurrentPos(CodecModule* module) {
    WavState& state = StateOf(module);
    if (state.file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    return static_cast<int>(state.position / state.layout.BytesPerSecond());
}

void WavUninitialise(CodecModule* module) {
    if (module->state != nullptr) {
        WavCloseFile(module);
        delete &StateOf(module);
        module->state = nullptr;
    }
    FreeCodecExtensions(*module);
}

} // namespace

bool ReadWavLayout(HANDLE file, WavLayout& layout) {
    layout = WavLayout{};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 12) {
        return false;
    }
    // Sizes in a RIFF file are 32-bit: nothing past 4 GB can belong to it.
    const uint64_t fileSize = std::min<uint64_t>(static_cast<uint64_t>(size.QuadPart), 0xFFFFFFFFull);

    unsigned char head[12];
    if (!ReadAt(file, 0, head, 10)) {
        return false;
    }
    uint64_t riff = 0;
    if (std::memcmp(head, "ID3", 3) == 0) {
        // Some taggers put an ID3v2 tag even in front of a WAV file; its size is synchsafe.
        riff =
            ((head[6] & 0x7Fu) << 21 | (head[7] & 0x7Fu) << 14 | (head[8] & 0x7Fu) << 7 | (head[9] & 0x7Fu)) +
            10u;
    }
    if (riff + 12 > fileSize || !ReadAt(file, riff, head, 12) || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "WAVE", 4) != 0) {
        return false;
    }

    bool haveFormat = false;
    bool haveData = false;
    uint64_t dataStart = 0;
    uint32_t declaredData = 0;
    // Every step moves at least 8 bytes forward, so the walk ends at the end of the file.
    for (uint64_t chunk = riff + 12; chunk + 8 <= fileSize && !(haveFormat && haveData);) {
        unsigned char header[8];
        if (!ReadAt(file, chunk, header, 8)) {
            return false;
        }
        const uint32_t chunkSize = Le32(header + 4);
        if (std::memcmp(header, "fmt ", 4) == 0 && !haveFormat) {
            unsigned char format[16];
            if (chunkSize < 16 || chunk + 8 + 16 > fileSize || !ReadAt(file, chunk + 8, format, 16)) {
                return false;
            }
            if (Le16(format) != 1) { // WAVE_FORMAT_PCM; anything else is for another decoder
                return false;
            }
            layout.channels = Le16(format + 2);
            layout.sampleRate = Le32(format + 4);
            layout.bitsPerSample = Le16(format + 14);
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0 && !haveData) {
            dataStart = chunk + 8;
            declaredData = chunkSize;
            haveData = true;
        }
        chunk += 8 + uint64_t{chunkSize} + (chunkSize & 1u);
    }
    if (!haveFormat || !haveData) {
        return false;
    }
    // The device takes 8- or 16-bit mono or stereo; other layouts would play as noise.
    if ((layout.channels != 1 && layout.channels != 2) ||
        (layout.bitsPerSample != 8 && layout.bitsPerSample != 16) || layout.sampleRate == 0 ||
        layout.sampleRate > 768000) {
        return false;
    }
    // A recorder that is stopped mid-write leaves 0 (or a size it never reached) in the header:
    // what is really in the file is what can be played.
    const uint64_t present = fileSize > dataStart ? fileSize - dataStart : 0;
    uint64_t dataSize = declaredData == 0 || declaredData > present ? present : declaredData;
    dataSize -= dataSize % layout.BlockAlign();
    layout.dataStart = static_cast<uint32_t>(dataStart);
    layout.dataSize = static_cast<uint32_t>(dataSize);
    return true;
}

void InitWavCodec(CodecModule* module) {
    *module = CodecModule{};
    module->Uninitialise = WavUninitialise;
    module->OpenFile = WavOpenFile;
    module->CloseFile = WavCloseFile;
    module->Seek = WavSeek;
    module->GetFileInfo = WavGetFileInfo;
    module->GetPCMBlock = WavGetPCMBlock;
    module->GetCurrentPos = WavGetCurrentPos;
    module->state = new WavState;
    AddCodecExtension(*module, "WAV", 0);
}
