// The WAV decoder against sox's reading of the same files.
#include "player/Modules.h"
#include "tests/player/DecoderTestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

const std::vector<uint8_t>& TonePcm() {
    static const std::vector<uint8_t> pcm = ReadBytes(DecoderInput("tone.wav.raw"));
    return pcm;
}

TEST(WavCodec, PlaysThePcmOfTheDataChunk) {
    // Catches: header bytes played as sound, a wrong data offset, or a wrong format report.
    ASSERT_FALSE(TonePcm().empty()) << "make_decoder_inputs.sh has not run";
    DecodeRun run = Decode(InitWavCodec, DecoderInput("tone.wav"));
    ASSERT_EQ(run.opened, 1);
    EXPECT_EQ(run.info.lengthSeconds, 4); // 758,520 bytes / 176,400 bytes per second
    EXPECT_EQ(run.info.reserved, 0);
    EXPECT_EQ(run.info.sampleRate, 44100);
    EXPECT_EQ(run.info.stereo, 1);
    EXPECT_EQ(run.info.bits16, 1);
    EXPECT_TRUE(run.finished);
    EXPECT_TRUE(run.pcm == TonePcm());
}

TEST(WavCodec, SkipsAnId3v2TagInFront) {
    // Catches: the tag's size read as a plain integer instead of synchsafe, or without its 10-byte
    // header, which would make the RIFF header unfindable.
    DecodeRun run = Decode(InitWavCodec, DecoderInput("id3_front.wav"));
    ASSERT_EQ(run.opened, 1);
    EXPECT_EQ(run.info.lengthSeconds, 4);
    EXPECT_TRUE(run.pcm == TonePcm());
}

TEST(WavCodec, SkipsThePadByteOfAnOddChunk) {
    // Catches: a chunk walk that forgets the pad byte after an odd-sized chunk and misses "data".
    DecodeRun run = Decode(InitWavCodec, DecoderInput("odd_chunk.wav"));
    ASSERT_EQ(run.opened, 1);
    EXPECT_TRUE(run.pcm == TonePcm());
}

TEST(WavCodec, ReportsEightBitMonoAsItIs) {
    // Catches: the stereo and 16-bit flags set from anything but channels = 2 and bits = 16.
    DecodeRun run = Decode(InitWavCodec, DecoderInput("mono8.wav"));
    ASSERT_EQ(run.opened, 1);
    EXPECT_EQ(run.info.sampleRate, 22050);
    EXPECT_EQ(run.info.stereo, 0);
    EXPECT_EQ(run.info.bits16, 0);
    EXPECT_EQ(run.info.lengthSeconds, 2);
    EXPECT_TRUE(run.pcm == ReadBytes(DecoderInput("mono8.wav.raw")));
}

TEST(WavCodec, RefusesAFormatOtherThanPcm) {
    // Catches: A-law bytes handed to the device as if they were PCM.
    CodecModule codec{};
    InitWavCodec(&codec);
    EXPECT_EQ(codec.OpenFile(&codec, DecoderInput("alaw.wav").c_str(), 0, nullptr), 0);
    FileInfo info{};
    codec.GetFileInfo(&codec, &info);
    EXPECT_EQ(info.sampleRate, 0);
    codec.Uninitialise(&codec);
}

TEST(WavCodec, PlaysWhatIsThereWhenTheHeaderLiesAboutSizes) {
    // Catches: reading on for the 2 GB the header claims (a hang, or a length of hours), and a
    // data size of 0 left by a capture that was cut short.
    for (const char* name : {"lying_sizes.wav", "zero_data_size.wav"}) {
        DecodeRun run = Decode(InitWavCodec, DecoderInput(name));
        ASSERT_EQ(run.opened, 1) << name;
        EXPECT_EQ(run.info.lengthSeconds, 4) << name;
        EXPECT_TRUE(run.finished) << name;
        EXPECT_TRUE(run.pcm == TonePcm()) << name;
    }
}

TEST(WavCodec, StopsAtTheLastWholeFrameOfACutFile) {
    // Catches: half a sample frame at the end, which would swap the channels of everything after.
    DecodeRun run = Decode(InitWavCodec, DecoderInput("cut.wav"), 1000);
    ASSERT_EQ(run.opened, 1);
    EXPECT_TRUE(run.finished);
    ASSERT_EQ(run.pcm.size() % 4, 0u);
    ASSERT_LT(run.pcm.size(), TonePcm().size());
    EXPECT_TRUE(std::equal(run.pcm.begin(), run.pcm.end(), TonePcm().begin()));
}

TEST(WavCodec, RefusesEmptyAndBrokenHeaders) {
    // Catches: a crash or a read past the end on a 0-byte file or a "fmt " chunk that claims 4 GB.
    for (const char* name : {"empty.wav", "huge_fmt.wav", "layer3.mp3", "wmav2.wma"}) {
        DecodeRun run = Decode(InitWavCodec, DecoderInput(name));
        EXPECT_EQ(run.opened, 0) << name;
    }
}

TEST(WavCodec, SeeksToTheExactFrame) {
    // Catches: a seek that lands between the bytes of a sample frame or is off by the header size.
    DecodeRun run = Decode(InitWavCodec, DecoderInput("id3_front.wav"), 262144, 1, 3);
    ASSERT_EQ(run.opened, 1);
    const size_t frames = TonePcm().size() / 4;
    const size_t from = frames / 3 * 4;
    ASSERT_EQ(run.pcm.size(), TonePcm().size() - from);
    EXPECT_TRUE(std::equal(run.pcm.begin(), run.pcm.end(), TonePcm().begin() + from));
}

TEST(WavCodec, ReportsThePositionInWholeSeconds) {
    // Catches: the position counted from the start of the file instead of the data chunk.
    CodecModule codec{};
    InitWavCodec(&codec);
    ASSERT_EQ(codec.OpenFile(&codec, DecoderInput("id3_front.wav").c_str(), 0, nullptr), 1);
    EXPECT_EQ(codec.GetCurrentPos(&codec), 0);
    codec.Seek(&codec, 1, 2); // 2.15 s
    EXPECT_EQ(codec.GetCurrentPos(&codec), 2);
    std::vector<uint8_t> block(176400);
    DWORD bytes = static_cast<DWORD>(block.size());
    EXPECT_EQ(codec.GetPCMBlock(&codec, block.data(), &bytes), 1);
    EXPECT_EQ(codec.GetCurrentPos(&codec), 3);
    codec.Uninitialise(&codec);
}

} // namespace
