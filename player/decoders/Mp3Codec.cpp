// The MPEG audio decoder: libmpg123 reads the file through our own handle, so that a path in the
// system code page opens as the rest of the program opens it.
#include "player/decoders/Mp3Codec.h"

#include <mpg123.h>

#include <algorithm>
#include <mutex>

namespace {

// Frames decoded and dropped before the place a seek lands on. The library's default of 4 is too
// few for low-rate MPEG-2 files, whose bit reservoir reaches back over more (small) frames: the
// first thousand samples after a seek then differ from a decode from the start.
constexpr long kPreFrames = 16;

struct Mp3State {
    mpg123_handle* decoder = nullptr;
    HANDLE file = INVALID_HANDLE_VALUE;
    // A stream instead of a file: read forwards only, its length unknown.
    Mp3StreamReader streamReader = nullptr;
    void* streamSource = nullptr;
    FileInfo info{};
    long rate = 0;
    int channels = 0;
    int64_t lengthSamples = 0;
};

Mp3State& StateOf(CodecModule* module) {
    return *static_cast<Mp3State*>(module->state);
}

mpg123_ssize_t ReadFromHandle(void* handle, void* buffer, size_t bytes) {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(bytes, 1u << 30));
    if (!ReadFile(static_cast<HANDLE>(handle), buffer, ask, &got, nullptr)) {
        return -1;
    }
    return static_cast<mpg123_ssize_t>(got);
}

mpg123_ssize_t ReadFromStream(void* handle, void* buffer, size_t bytes) {
    const Mp3State& state = *static_cast<const Mp3State*>(handle);
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(bytes, 1u << 30));
    return static_cast<mpg123_ssize_t>(state.streamReader(state.streamSource, buffer, ask));
}

// A stream cannot be repositioned; the library then reads it as it comes.
off_t CannotSeek(void*, off_t, int) {
    return -1;
}

off_t SeekHandle(void* handle, off_t offset, int whence) {
    DWORD method = whence == SEEK_CUR ? FILE_CURRENT : whence == SEEK_END ? FILE_END : FILE_BEGIN;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER now{};
    if (!SetFilePointerEx(static_cast<HANDLE>(handle), distance, &now, method) ||
        now.QuadPart > static_cast<LONGLONG>(0x7FFFFFFF)) {
        return -1;
    }
    return static_cast<off_t>(now.QuadPart);
}

void Mp3CloseFile(CodecModule* module) {
    Mp3State& state = StateOf(module);
    if (state.decoder != nullptr) {
        mpg123_close(state.decoder);
        mpg123_delete(state.decoder);
        state.decoder = nullptr;
    }
    if (state.file != INVALID_HANDLE_VALUE) {
        CloseHandle(state.file);
        state.file = INVALID_HANDLE_VALUE;
    }
    state.streamReader = nullptr;
    state.streamSource = nullptr;
    state.info = FileInfo{};
    state.rate = 0;
    state.channels = 0;
    state.lengthSamples = 0;
}

// Lets the decoder give only 16-bit PCM at the rates and channel counts allowed.
bool Allow16Bit(mpg123_handle* decoder, long onlyRate, int channels) {
    if (mpg123_format_none(decoder) != MPG123_OK) {
        return false;
    }
    if (onlyRate != 0) {
        return mpg123_format(decoder, onlyRate, channels, MPG123_ENC_SIGNED_16) == MPG123_OK;
    }
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i) {
        if (mpg123_format(decoder, rates[i], channels, MPG123_ENC_SIGNED_16) != MPG123_OK) {
            return false;
        }
    }
    return true;
}

// Opens the decoder on the state's file or stream; a file is scanned once for its exact length.
int OpenDecoder(CodecModule* module) {
    Mp3State& state = StateOf(module);
    const bool stream = state.streamReader != nullptr;
    int error = MPG123_OK;
    state.decoder = mpg123_new(nullptr, &error);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    // Quiet: the library would otherwise print its complaints about damaged frames to stderr. A
    // stream gets the library's small look-ahead buffer, its substitute for seeking back while it
    // looks for the first frame.
    const long flags = MPG123_QUIET | MPG123_GAPLESS | (stream ? MPG123_SEEKBUFFER : 0);
    bool opened =
        state.decoder != nullptr && mpg123_param(state.decoder, MPG123_ADD_FLAGS, flags, 0) == MPG123_OK &&
        mpg123_param(state.decoder, MPG123_PREFRAMES, kPreFrames, 0) == MPG123_OK &&
        Allow16Bit(state.decoder, 0, MPG123_MONO | MPG123_STEREO) &&
        (stream ? mpg123_replace_reader_handle(state.decoder, ReadFromStream, CannotSeek, nullptr)
                : mpg123_replace_reader_handle(state.decoder, ReadFromHandle, SeekHandle, nullptr)) ==
            MPG123_OK &&
        mpg123_open_handle(state.decoder, stream ? static_cast<void*>(&state) : state.file) == MPG123_OK &&
        mpg123_getformat(state.decoder, &rate, &channels, &encoding) == MPG123_OK &&
        encoding == MPG123_ENC_SIGNED_16 && (channels == 1 || channels == 2) && rate > 0;
    // The scan reads every frame header once: it gives the exact length, and the index it builds
    // makes every later seek land on the exact sample, in either direction. A stream has neither.
    opened = opened && (stream || mpg123_scan(state.decoder) == MPG123_OK);
    const off_t length = opened && !stream ? mpg123_length(state.decoder) : off_t{0};
    // A stream that changes its format midway is converted to the first one: the device stays open.
    opened = opened && (stream || length > 0) && Allow16Bit(state.decoder, rate, channels);
    if (!opened) {
        Mp3CloseFile(module);
        return 0;
    }
    state.rate = rate;
    state.channels = channels;
    state.lengthSamples = length;
    state.info.lengthSeconds = static_cast<int32_t>(length / rate);
    state.info.reserved = 0;
    state.info.sampleRate = static_cast<int32_t>(rate);
    state.info.stereo = channels == 2 ? 1 : 0;
    state.info.bits16 = 1;
    return 1;
}

int Mp3OpenFile(CodecModule* module, const char* path, DWORD, HWND) {
    Mp3CloseFile(module);
    Mp3State& state = StateOf(module);
    state.file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (state.file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    return OpenDecoder(module);
}

void Mp3Seek(CodecModule* module, int numerator, int denominator) {
    Mp3State& state = StateOf(module);
    if (state.decoder == nullptr || state.streamReader != nullptr || denominator <= 0 || numerator < 0) {
        return;
    }
    int64_t target = state.lengthSamples * numerator / denominator;
    target = std::min(target, state.lengthSamples);
    mpg123_seek(state.decoder, static_cast<off_t>(target), SEEK_SET);
}

void Mp3GetFileInfo(CodecModule* module, FileInfo* info) {
    *info = StateOf(module).info;
}

int Mp3GetPCMBlock(CodecModule* module, void* buffer, DWORD* inOutBytes) {
    Mp3State& state = StateOf(module);
    DWORD wanted = *inOutBytes;
    *inOutBytes = 0;
    if (state.decoder == nullptr) {
        return 0;
    }
    const DWORD frameBytes = static_cast<DWORD>(state.channels) * 2;
    wanted -= wanted % frameBytes;
    auto* out = static_cast<unsigned char*>(buffer);
    DWORD filled = 0;
    // A damaged stream can make the library report progress without giving samples; a few such
    // rounds in a row end the file rather than spin.
    int idleRounds = 0;
    while (filled < wanted && idleRounds < 8) {
        size_t got = 0;
        const int result = mpg123_read(state.decoder, out + filled, wanted - filled, &got);
        filled += static_cast<DWORD>(got);
        if (result == MPG123_DONE || (result != MPG123_OK && result != MPG123_NEW_FORMAT)) {
            break;
        }
        idleRounds = got == 0 ? idleRounds + 1 : 0;
    }
    *inOutBytes = filled;
    return filled > 0 ? 1 : 0;
}

int Mp3GetCurrentPos(CodecModule* module) {
    Mp3State& state = StateOf(module);
    if (state.decoder == nullptr) {
        return 0;
    }
    const off_t at = mpg123_tell(state.decoder);
    return at > 0 ? static_cast<int>(at / state.rate) : 0;
}

void Mp3Uninitialise(CodecModule* module) {
    if (module->state != nullptr) {
        Mp3CloseFile(module);
        delete &StateOf(module);
        module->state = nullptr;
    }
    FreeCodecExtensions(*module);
}

} // namespace

int Mp3OpenStream(CodecModule* module, Mp3StreamReader reader, void* source) {
    Mp3CloseFile(module);
    Mp3State& state = StateOf(module);
    state.streamReader = reader;
    state.streamSource = source;
    return OpenDecoder(module);
}

int64_t Mp3LengthInSamples(CodecModule* module) {
    Mp3State& state = StateOf(module);
    return state.decoder != nullptr ? state.lengthSamples : -1;
}

void InitMp3Codec(CodecModule* module) {
    // Older libraries wanted this once per process before any handle; it costs nothing now.
    static std::once_flag libraryReady;
    std::call_once(libraryReady, [] { mpg123_init(); });
    *module = CodecModule{};
    module->Uninitialise = Mp3Uninitialise;
    module->OpenFile = Mp3OpenFile;
    module->CloseFile = Mp3CloseFile;
    module->Seek = Mp3Seek;
    module->GetFileInfo = Mp3GetFileInfo;
    module->GetPCMBlock = Mp3GetPCMBlock;
    module->GetCurrentPos = Mp3GetCurrentPos;
    module->state = new Mp3State;
    AddCodecExtension(*module, "MP3", 0);
    AddCodecExtension(*module, "MP2", 0);
    AddCodecExtension(*module, "MP1", 0);
}
