// File information by path: the decoder chosen by the lower-cased extension after the last dot.
#include "player/FileInfoForPath.h"
#include "tests/player/DecoderTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

TEST(FileInfoForPath, UpperCaseMp3UsesTheMp3Decoder) {
    // Catches: an extension compared without lower-casing it first.
    TestFolder folder;
    const std::string path = folder / "Song.MP3";
    ASSERT_TRUE(CopyFileA(DecoderInput("layer3.mp3").c_str(), path.c_str(), FALSE));
    FileInfo info{};
    ASSERT_EQ(GetFileInfoForPath(path.c_str(), &info), 1);
    EXPECT_EQ(info.lengthSeconds, 4);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.stereo, 1);
    EXPECT_EQ(info.bits16, 1);
    EXPECT_EQ(GetFileLength(path.c_str()), 4);
}

TEST(FileInfoForPath, WavAndWmaByTheirExtensions) {
    // Catches: a decoder table that maps an extension to the wrong decoder.
    FileInfo info{};
    ASSERT_EQ(GetFileInfoForPath(DecoderInput("mono8.wav").c_str(), &info), 1);
    EXPECT_EQ(info.sampleRate, 22050);
    EXPECT_EQ(info.bits16, 0);
    EXPECT_EQ(GetFileLength(DecoderInput("wmav2.wma").c_str()), 4);
    EXPECT_EQ(GetFileLength(DecoderInput("id3_front.wav").c_str()), 4);
}

TEST(FileInfoForPath, OnlyTheTextAfterTheLastDotCounts) {
    // Catches: the first dot taken, a dotless path read as a file anyway, and other MPEG
    // extensions let through (only mp3, wav and wma are measured).
    TestFolder folder;
    const std::string dotted = folder / "a.mp3.wav";
    ASSERT_TRUE(CopyFileA(DecoderInput("tone.wav").c_str(), dotted.c_str(), FALSE));
    EXPECT_EQ(GetFileLength(dotted.c_str()), 4);
    const std::string bare = folder / "track";
    ASSERT_TRUE(CopyFileA(DecoderInput("tone.wav").c_str(), bare.c_str(), FALSE));
    FileInfo info{};
    info.sampleRate = 1;
    EXPECT_EQ(GetFileInfoForPath(bare.c_str(), &info), 0);
    EXPECT_EQ(info.sampleRate, 0);
    EXPECT_EQ(GetFileLength(bare.c_str()), 0);
    EXPECT_EQ(GetFileLength(DecoderInput("layer2.mp2").c_str()), 0);
}

TEST(FileInfoForPath, FailureClearsTheRecord) {
    // Catches: stale fields left in the caller's record when the file cannot be read.
    FileInfo info{7, 7, 7, 7, 7};
    EXPECT_EQ(GetFileInfoForPath(DecoderInput("alaw.wav").c_str(), &info), 0);
    EXPECT_EQ(info.lengthSeconds, 0);
    EXPECT_EQ(info.sampleRate, 0);
    EXPECT_EQ(info.bits16, 0);
    EXPECT_EQ(GetFileLength(DecoderInput("missing.mp3").c_str()), 0);
}

} // namespace
