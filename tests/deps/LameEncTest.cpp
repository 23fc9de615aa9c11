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

TEST(LameEnc, EncodesOneSecondIntoAChainOfMpeg1Layer3Frames) {
    LameDll lame;
    TestFolder folder;
    std::string path = folder / "tone.mp3";
    ASSERT_NO_FATAL_FAILURE(EncodeTone(lame, path));

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

    // The encoder leaves the Info frame blank until beWriteVBRHeader fills it in.
    EXPECT_EQ(layout.infoId, "Info");
    EXPECT_EQ(layout.infoFrames, frames.size() - 1) << "audio frames after the Info frame";
    EXPECT_EQ(layout.infoBytes, mp3.size());
}
