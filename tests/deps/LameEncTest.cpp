#include "tests/deps/DepsSupport.h"
#include "tests/support/Mp3FileLayout.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>

using namespace qvltest;

// GCC ignores the header's packing attribute, so the DLL and this test see BE_CONFIG with natural
// alignment. Every field still sits where a 1-byte-packed declaration puts it; only the trailing
// padding differs, and beInitStream copies no more than dwStructSize.
static_assert(offsetof(BE_CONFIG, format.LHV1.dwStructSize) == 8);
static_assert(offsetof(BE_CONFIG, format.LHV1.bWriteVBRHeader) == 64);
static_assert(offsetof(BE_CONFIG, format.LHV1.nQuality) == 92);
static_assert(offsetof(BE_CONFIG, format.LHV1.btReserved) == 94);
static_assert(offsetof(BE_VERSION, zHomepage) == 8);

namespace {

unsigned BigEndian32(const std::string& bytes, size_t at) {
    unsigned value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

} // namespace

TEST(LameEnc, LoadsFromTheExecutableFolderWithEveryEntryPoint) {
    LameDll lame;
    ASSERT_NE(lame.Module(), nullptr) << "LoadLibrary error " << GetLastError();

    char loaded[MAX_PATH] = "";
    GetModuleFileNameA(lame.Module(), loaded, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(loaded, (BinFolder() + "\\lame_enc.dll").c_str()), 0) << loaded;

    EXPECT_NE(lame.initStream, nullptr);
    EXPECT_NE(lame.encodeChunk, nullptr);
    EXPECT_NE(lame.deinitStream, nullptr);
    EXPECT_NE(lame.closeStream, nullptr);
    EXPECT_NE(lame.writeVbrHeader, nullptr);
    ASSERT_NE(lame.version, nullptr);

    BE_VERSION version{};
    lame.version(&version);
    EXPECT_EQ(version.byMajorVersion, 3) << "LAME engine";
    EXPECT_EQ(version.byMinorVersion, 100) << "LAME engine";
    EXPECT_EQ(version.byDLLMajorVersion, 1) << "BladeEnc interface";
    EXPECT_EQ(version.byDLLMinorVersion, 32) << "BladeEnc interface";
}

TEST(LameEnc, EncodesOneSecondIntoAChainOfMpeg1Layer3Frames) {
    LameDll lame;
    TestFolder folder;
    std::string path = folder / "tone.mp3";
    ASSERT_NO_FATAL_FAILURE(EncodeTone(lame, path));
    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(path, "encoded.mp3"));

    std::string mp3 = ReadFile(path);
    Mp3FileLayout layout;
    ASSERT_TRUE(ReadMp3FileLayout(mp3, layout));
    const std::vector<Mp3Frame>& frames = layout.frames;
    EXPECT_GE(frames.size(), 38u) << "44100 samples need 38.3 frames of 1152";
    EXPECT_LE(frames.size(), 42u) << "the Info frame, encoder delay and flush add a few";
    for (const Mp3Frame& frame : frames) {
        EXPECT_EQ(frame.bitrateKbps, 128) << "constant bitrate, frame at " << frame.offset;
        EXPECT_FALSE(frame.mono) << "frame at " << frame.offset;
        EXPECT_EQ(frame.sampleRate, 44100);
    }
    double seconds = frames.size() * 1152.0 / 44100;
    EXPECT_NEAR(mp3.size() * 8 / seconds, 128000, 640) << mp3.size() << " bytes";

    // The Info frame sits behind the 4-byte header and 32 bytes of MPEG-1 stereo side information;
    // the encoder leaves it blank until beWriteVBRHeader fills it in.
    ASSERT_GT(mp3.size(), 56u);
    EXPECT_EQ(mp3.substr(36, 4), "Info");
    unsigned flags = BigEndian32(mp3, 40);
    ASSERT_EQ(flags & 3, 3u) << "frame and byte counts present";
    EXPECT_EQ(BigEndian32(mp3, 44), frames.size() - 1) << "audio frames after the Info frame";
    EXPECT_EQ(BigEndian32(mp3, 48), mp3.size());
}
