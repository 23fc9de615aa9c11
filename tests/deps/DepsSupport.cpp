#include "tests/deps/DepsSupport.h"

#include "app/framework/FolderTree.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qvltest {

LameDll::LameDll() : m_module(LoadLibraryA((BinFolder() + "\\lame_enc.dll").c_str())) {
    if (m_module == nullptr) {
        return;
    }
    initStream = reinterpret_cast<BEINITSTREAM>(GetProcAddress(m_module, TEXT_BEINITSTREAM));
    encodeChunk = reinterpret_cast<BEENCODECHUNK>(GetProcAddress(m_module, TEXT_BEENCODECHUNK));
    deinitStream = reinterpret_cast<BEDEINITSTREAM>(GetProcAddress(m_module, TEXT_BEDEINITSTREAM));
    closeStream = reinterpret_cast<BECLOSESTREAM>(GetProcAddress(m_module, TEXT_BECLOSESTREAM));
    version = reinterpret_cast<BEVERSION>(GetProcAddress(m_module, TEXT_BEVERSION));
    writeVbrHeader = reinterpret_cast<BEWRITEVBRHEADER>(GetProcAddress(m_module, TEXT_BEWRITEVBRHEADER));
}

LameDll::~LameDll() {
    if (m_module != nullptr) {
        FreeLibrary(m_module);
    }
}

namespace {

std::vector<SHORT> StereoTone() {
    std::vector<SHORT> pcm(2 * kToneSampleRate);
    for (DWORD i = 0; i < kToneSampleRate; ++i) {
        double t = static_cast<double>(i) / kToneSampleRate;
        pcm[2 * i] = static_cast<SHORT>(12000 * std::sin(2 * std::numbers::pi * 440 * t));
        pcm[2 * i + 1] = static_cast<SHORT>(12000 * std::sin(2 * std::numbers::pi * 660 * t));
    }
    return pcm;
}

} // namespace

void EncodeTone(const LameDll& lame, const std::string& path) {
    ASSERT_NE(lame.Module(), nullptr);

    BE_CONFIG config{};
    config.dwConfig = BE_CONFIG_LAME;
    auto& lhv1 = config.format.LHV1;
    lhv1.dwStructVersion = CURRENT_STRUCT_VERSION;
    lhv1.dwStructSize = sizeof(BE_CONFIG);
    lhv1.dwSampleRate = kToneSampleRate;
    lhv1.nMode = BE_MP3_MODE_STEREO;
    lhv1.dwBitrate = kToneBitrateKbps;
    lhv1.nPreset = LQP_NOPRESET;
    lhv1.dwMpegVersion = MPEG1;
    lhv1.bOriginal = TRUE;
    // Keeps the stream open after beCloseStream so that beWriteVBRHeader has something to write.
    lhv1.bWriteVBRHeader = TRUE;

    DWORD chunkSamples = 0;
    DWORD bufferSize = 0;
    HBE_STREAM stream = nullptr;
    ASSERT_EQ(lame.initStream(&config, &chunkSamples, &bufferSize, &stream), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(chunkSamples, 2u * 1152) << "one MPEG-1 frame of both channels";

    std::vector<SHORT> pcm = StereoTone();
    std::vector<BYTE> buffer(bufferSize);
    std::string mp3;
    for (size_t at = 0; at < pcm.size(); at += chunkSamples) {
        DWORD count = static_cast<DWORD>(std::min<size_t>(chunkSamples, pcm.size() - at));
        DWORD written = 0;
        ASSERT_EQ(lame.encodeChunk(stream, count, pcm.data() + at, buffer.data(), &written),
                  BE_ERR_SUCCESSFUL);
        ASSERT_LE(written, bufferSize);
        mp3.append(reinterpret_cast<const char*>(buffer.data()), written);
    }
    DWORD flushed = 0;
    ASSERT_EQ(lame.deinitStream(stream, buffer.data(), &flushed), BE_ERR_SUCCESSFUL);
    ASSERT_LE(flushed, bufferSize);
    mp3.append(reinterpret_cast<const char*>(buffer.data()), flushed);
    ASSERT_EQ(lame.closeStream(stream), BE_ERR_SUCCESSFUL);

    WriteFile(path, mp3);
    ASSERT_EQ(FileSize(path), static_cast<long long>(mp3.size()));
    ASSERT_EQ(lame.writeVbrHeader(path.c_str()), BE_ERR_SUCCESSFUL);
}

} // namespace qvltest
