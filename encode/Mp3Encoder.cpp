#include "encode/Mp3Encoder.h"

#include "app/framework/Scoped.h"
#include "companions/qvllog/qvllog.h"
#include "encode/LameLibrary.h"
#include "finish/Id3Tag.h"
#include "finish/NameSanitiser.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr DWORD kDefaultSampleRate = 44100;
constexpr std::array<DWORD, 9> kLayerThreeRates = {8000,  11025, 12000, 16000, 22050,
                                                   24000, 32000, 44100, 48000};

// Exit codes of the encoder thread.
constexpr unsigned kFileNotCreated = 4;
constexpr unsigned kInitFailed = 5;
constexpr unsigned kNoBuffers = 6;
constexpr unsigned kEncodeFailed = 7;
constexpr unsigned kFlushFailed = 8;
// The disk took less than the encoder gave: the file is not whole.
constexpr unsigned kWriteFailed = 9;
// A tag the settings ask for is not in the file (the tag writer reports nothing, so the file is
// looked at): the disk could not take the rewrite.
constexpr unsigned kTagsNotWritten = 10;

uint64_t FileBytes(const char* path) {
    FoundFileInfo info;
    return FindFileInfo(path, info) != 0 ? info.size : 0;
}

// Whether the tags asked for are where they belong, ID3v2 at the front and ID3v1 in the last 128
// bytes, with all audioBytes of the audio between them. A tag rewrite that ran out of disk can
// leave a tag whose picture was cut and no audio behind it.
bool HasTagsAroundAudio(const char* path, uint64_t audioBytes, bool id3v1, bool id3v2) {
    ScopedFileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    uint8_t head[10] = {};
    char tail[3] = {};
    DWORD read = 0;
    uint64_t expected = audioBytes + (id3v1 ? 128 : 0);
    if (!file) {
        return false;
    }
    if (id3v2) {
        if (!ReadFile(file.Get(), head, sizeof head, &read, nullptr) || read != sizeof head ||
            memcmp(head, "ID3", 3) != 0) {
            return false;
        }
        // The tag's size after its ten-byte header, seven bits a byte.
        expected +=
            10 + (uint64_t{head[6]} << 21 | uint64_t{head[7]} << 14 | uint64_t{head[8]} << 7 | head[9]);
    }
    LARGE_INTEGER back{};
    back.QuadPart = -128;
    return FileBytes(path) >= expected && (!id3v1 || (SetFilePointerEx(file.Get(), back, nullptr, FILE_END) &&
                                                      ReadFile(file.Get(), tail, 3, &read, nullptr) &&
                                                      read == 3 && memcmp(tail, "TAG", 3) == 0));
}

bool WriteAll(HANDLE file, const BYTE* bytes, DWORD count) {
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

// The library takes signed 16-bit samples; 8-bit PCM is unsigned. Widens the count bytes at the
// start of pcm in place, from the last to the first, so that no byte is overwritten before it is
// read.
void WidenEightBitSamples(SHORT* pcm, DWORD count) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(pcm);
    for (DWORD i = count; i-- > 0;) {
        pcm[i] = static_cast<SHORT>((bytes[i] - 128) * 256);
    }
}

} // namespace

BE_CONFIG MakeLameConfig(const Mp3Preset& triple, DWORD sampleRate, DWORD channels) {
    BE_CONFIG config{};
    config.dwConfig = BE_CONFIG_LAME;
    auto& lhv1 = config.format.LHV1;
    lhv1.dwStructVersion = CURRENT_STRUCT_VERSION;
    lhv1.dwStructSize = CURRENT_STRUCT_SIZE;
    lhv1.dwSampleRate = sampleRate != 0 ? sampleRate : kDefaultSampleRate;
    lhv1.dwReSampleRate = lhv1.dwSampleRate;
    lhv1.nMode = channels == 1 ? BE_MP3_MODE_MONO : BE_MP3_MODE_STEREO;
    lhv1.dwBitrate = triple.bitrate;
    lhv1.dwMpegVersion = MPEG1;
    lhv1.bCRC = TRUE;
    lhv1.bWriteVBRHeader = TRUE;
    lhv1.bNoRes = TRUE;
    if (triple.vbr != 0) {
        lhv1.dwMaxBitrate = triple.maxBitrate;
        lhv1.nPreset = LQP_CD;
        lhv1.bEnableVBR = TRUE;
        lhv1.nVBRQuality = 1;
        lhv1.dwVbrAbr_bps = 0xFFFFFFFF;
        lhv1.nVbrMethod = VBR_METHOD_NEW;
    } else {
        lhv1.nPreset = LQP_CBR;
        lhv1.nVbrMethod = VBR_METHOD_NONE;
    }
    return config;
}

Mp3Encoder::Mp3Encoder(const Mp3EncodeOptions& options)
    : m_lame(std::make_unique<LameLibrary>()), m_options(options) {}

Mp3Encoder::~Mp3Encoder() {
    Join();
}

int Mp3Encoder::IsReady() {
    return m_lame != nullptr ? m_lame->IsLoaded() : 0;
}

bool Mp3Encoder::IsFormatSupported(const WAVEFORMATEX& format) const {
    return IsPlainPcm(format) && std::find(kLayerThreeRates.begin(), kLayerThreeRates.end(),
                                           format.nSamplesPerSec) != kLayerThreeRates.end();
}

unsigned Mp3Encoder::RunThread() {
    const Mp3Preset triple = m_options.preset;

    unsigned exitCode = kDone;
    ScopedFileHandle file(CreateFileA(m_work.outputPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        char text[MAX_PATH + 64];
        snprintf(text, sizeof text, "Create MP3 file %s error: dwLastCode=0x%x", m_work.outputPath,
                 static_cast<unsigned>(GetLastError()));
        LogWrite("%s", text);
        MessageBoxA(nullptr, text, "Error", MB_OK);
        exitCode = kFileNotCreated;
    } else {
        exitCode = EncodeStream(file.Get(), triple);
    }

    CloseReadPipe("Close MP3 read pipe handle error: handle=%x dwLastCode=0x%x");
    const bool id3v1 = m_options.id3v1;
    const bool id3v2 = m_options.id3v2;

    if (file) {
        HANDLE handle = file.Release();
        if (!CloseHandle(handle)) {
            LogWrite("Close %s MP3 File Handle error: handle=%x dwLastCode=0x%x", m_work.outputPath,
                     static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(handle)),
                     static_cast<unsigned>(GetLastError()));
        }
    }
    // The Info frame is filled in on the closed file, before any tag moves the audio.
    m_lame->Api().beWriteVBRHeader(m_work.outputPath);
    const uint64_t audioBytes = FileBytes(m_work.outputPath);
    if (id3v2) {
        WriteId3Tag(m_work.outputPath, ID3TT_ID3V2, m_work.tags);
    }
    if (id3v1) {
        WriteId3Tag(m_work.outputPath, ID3TT_ID3V1, m_work.tags);
    }
    if (exitCode == kDone && !m_work.tags.title.empty() &&
        !HasTagsAroundAudio(m_work.outputPath, audioBytes, id3v1, id3v2)) {
        exitCode = kTagsNotWritten;
    }

    PostFinalProgress();
    return FinishThread(exitCode);
}

unsigned Mp3Encoder::EncodeStream(HANDLE file, const Mp3Preset& triple) {
    const LameEntryPoints& lame = m_lame->Api();
    m_lame->QueryVersion();
    BE_CONFIG config = MakeLameConfig(triple, m_work.sampleRate, m_work.channels);
    DWORD samples = 0;
    DWORD bufferSize = 0;
    HBE_STREAM stream = nullptr;
    if (lame.beInitStream(&config, &samples, &bufferSize, &stream) != BE_ERR_SUCCESSFUL) {
        return kInitFailed;
    }

    std::unique_ptr<SHORT[]> pcm(new (std::nothrow) SHORT[samples]);
    std::unique_ptr<BYTE[]> output(new (std::nothrow) BYTE[bufferSize]);
    if (pcm == nullptr || output == nullptr) {
        lame.beCloseStream(stream);
        return kNoBuffers;
    }

    unsigned exitCode = kDone;
    // A chunk is `samples` samples, whatever their width in the pipe.
    const DWORD sampleBytes = m_work.format.wBitsPerSample == 8 ? 1 : sizeof(SHORT);
    RunLoop(reinterpret_cast<BYTE*>(pcm.get()), samples * sampleBytes, [&](const BYTE*, DWORD bytes) {
        DWORD outBytes = 0;
        DWORD count = bytes / sampleBytes;
        if (sampleBytes == 1) {
            WidenEightBitSamples(pcm.get(), count);
        }
        if (lame.beEncodeChunk(stream, count, pcm.get(), output.get(), &outBytes) != BE_ERR_SUCCESSFUL) {
            exitCode = kEncodeFailed;
            return false;
        }
        // A short write ends the encode, but what is in the file is still flushed and finished.
        if (!WriteAll(file, output.get(), outBytes)) {
            exitCode = kWriteFailed;
            return false;
        }
        return true;
    });
    if (exitCode == kEncodeFailed) {
        lame.beCloseStream(stream);
        return exitCode;
    }

    DWORD flushed = 0;
    if (lame.beDeinitStream(stream, output.get(), &flushed) != BE_ERR_SUCCESSFUL) {
        lame.beCloseStream(stream);
        return kFlushFailed;
    }
    if (flushed > 0 && !WriteAll(file, output.get(), flushed)) {
        exitCode = kWriteFailed;
    }
    lame.beCloseStream(stream);
    return exitCode;
}
