// The MPEG audio decoder against FFmpeg's decoding of files that LAME and FFmpeg encoded.
#include "player/Modules.h"
#include "player/decoders/Mp3Codec.h"
#include "tests/player/DecoderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace qvltest;

namespace {

struct Reference {
    const char* file;
    int rate;
    int stereo;
    int lengthSeconds;
};

void ExpectMatchesFfmpeg(const Reference& ref, int allowedExtraFrames) {
    const std::vector<int16_t> expected = ToSamples(ReadBytes(DecoderInput(std::string(ref.file) + ".raw")));
    ASSERT_FALSE(expected.empty()) << "make_decoder_inputs.sh has not run";
    DecodeRun run = Decode(InitMp3Codec, DecoderInput(ref.file));
    ASSERT_EQ(run.opened, 1) << ref.file;
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.info.sampleRate, ref.rate);
    EXPECT_EQ(run.info.stereo, ref.stereo);
    EXPECT_EQ(run.info.bits16, 1);
    EXPECT_EQ(run.info.lengthSeconds, ref.lengthSeconds);
    const std::vector<int16_t> got = ToSamples(run.pcm);
    const int channels = ref.stereo ? 2 : 1;
    EXPECT_LE(std::llabs(static_cast<long long>(got.size()) - static_cast<long long>(expected.size())),
              static_cast<long long>(allowedExtraFrames) * channels)
        << "decoded " << got.size() << " samples, FFmpeg " << expected.size();
    EXPECT_EQ(BestLag(got, expected, 1200 * channels), 0);
    EXPECT_GT(Correlation(got, expected), 0.999);
}

TEST(Mp3Codec, LayerThreeMatchesFfmpegSampleForSample) {
    // Catches: the encoder delay and padding left in (no gapless), a shifted start, wrong layer III
    // decoding, or an output that is not 16-bit.
    ExpectMatchesFfmpeg({"layer3.mp3", 44100, 1, 4}, 0);
}

TEST(Mp3Codec, LayerThreeMonoVbrAtAnotherRate) {
    // Catches: mono decoded as stereo, or a fixed 44.1 kHz assumption.
    ExpectMatchesFfmpeg({"layer3_mono.mp3", 22050, 0, 4}, 0);
}

TEST(Mp3Codec, LayerTwoMatchesFfmpeg) {
    // Catches: a decoder without layer II (the library built without it) or a mis-timed start.
    ExpectMatchesFfmpeg({"layer2.mp2", 44100, 1, 4}, 0);
}

TEST(Mp3Codec, SmallOddBlocksGiveTheSamePcm) {
    // Catches: a block size that is not a whole number of frames splitting a sample, or samples
    // lost between two calls.
    DecodeRun whole = Decode(InitMp3Codec, DecoderInput("layer3.mp3"));
    DecodeRun small = Decode(InitMp3Codec, DecoderInput("layer3.mp3"), 1001);
    ASSERT_EQ(small.opened, 1);
    EXPECT_GT(small.blocks, 700);
    EXPECT_TRUE(small.pcm == whole.pcm);
}

void ExpectExactSeek(const char* file, int numerator, int denominator) {
    DecodeRun whole = Decode(InitMp3Codec, DecoderInput(file));
    CodecModule codec{};
    InitMp3Codec(&codec);
    ASSERT_EQ(codec.OpenFile(&codec, DecoderInput(file).c_str(), 0, nullptr), 1);
    const int64_t samples = Mp3LengthInSamples(&codec);
    codec.Uninitialise(&codec);
    const size_t frameBytes = whole.info.stereo ? 4 : 2;
    ASSERT_EQ(static_cast<size_t>(samples) * frameBytes, whole.pcm.size());

    DecodeRun tail = Decode(InitMp3Codec, DecoderInput(file), 262144, numerator, denominator);
    const size_t from = static_cast<size_t>(samples * numerator / denominator) * frameBytes;
    ASSERT_EQ(tail.pcm.size(), whole.pcm.size() - from) << file;
    const std::vector<int16_t> a = ToSamples(tail.pcm);
    const std::vector<int16_t> b = ToSamples(std::vector<uint8_t>(whole.pcm.begin() + from, whole.pcm.end()));
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        worst = std::max(worst, std::abs(a[i] - b[i]));
    }
    EXPECT_EQ(worst, 0) << file << " from " << numerator << "/" << denominator;
}

TEST(Mp3Codec, SeekLandsOnTheExactSample) {
    // Catches: a seek that lands on a frame boundary (up to 1,152 samples early or late) or guesses
    // the place from the bit rate, and a decoder not warmed up again after the jump.
    ExpectExactSeek("layer3.mp3", 1, 3);
    ExpectExactSeek("layer3.mp3", 7, 9);
    ExpectExactSeek("layer3_mono.mp3", 1, 2);
    ExpectExactSeek("layer2.mp2", 2, 5);
}

TEST(Mp3Codec, SeeksBackwardsAndReportsThePosition) {
    // Catches: a seek that can only go forward, and a position that does not follow the seek.
    CodecModule codec{};
    InitMp3Codec(&codec);
    ASSERT_EQ(codec.OpenFile(&codec, DecoderInput("layer3.mp3").c_str(), 0, nullptr), 1);
    codec.Seek(&codec, 9, 10);
    EXPECT_EQ(codec.GetCurrentPos(&codec), 3);
    codec.Seek(&codec, 1, 4);
    EXPECT_EQ(codec.GetCurrentPos(&codec), 1);
    codec.Seek(&codec, 0, 1);
    EXPECT_EQ(codec.GetCurrentPos(&codec), 0);
    codec.Seek(&codec, 1, 0); // no place: ignored
    EXPECT_EQ(codec.GetCurrentPos(&codec), 0);
    codec.Uninitialise(&codec);
}

TEST(Mp3Codec, ClaimsMp3Mp2AndMp1) {
    // Catches: an extension list that the shell registration and the player would miss files by.
    CodecModule codec{};
    InitMp3Codec(&codec);
    std::string listed;
    for (CodecExtension* item = codec.extensions; item != nullptr; item = item->next) {
        listed += std::string(item->text) + ";";
    }
    EXPECT_EQ(listed, "MP3;MP2;MP1;");
    codec.Uninitialise(&codec);
    EXPECT_EQ(codec.extensions, nullptr);
    EXPECT_EQ(codec.state, nullptr);
}

} // namespace
