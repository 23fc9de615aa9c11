// Damaged, cut, empty and foreign files through every decoder: no crash, no hang, and no success
// claimed where nothing can be played.
#include "player/Modules.h"
#include "tests/player/DecoderTestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

TEST(DamagedFiles, EmptyFilesAreRefusedByEveryDecoder) {
    // Catches: a decoder that treats a 0-byte file as a file of length 0 that plays nothing.
    for (CodecInit init : {InitWavCodec, InitMp3Codec, InitWmaCodec}) {
        for (const char* name : {"empty.wav", "empty.mp3", "empty.wma"}) {
            EXPECT_EQ(Decode(init, DecoderInput(name)).opened, 0) << name;
        }
    }
}

TEST(DamagedFiles, Mp3WithRandomBytesInTheMiddlePlaysAroundThem) {
    // Catches: a decoder that stops for good at the first bad frame, or spins on it.
    const std::vector<int16_t> expected = ToSamples(ReadBytes(DecoderInput("layer3.mp3.raw")));
    DecodeRun run = Decode(InitMp3Codec, DecoderInput("damaged_middle.mp3"));
    ASSERT_EQ(run.opened, 1);
    EXPECT_TRUE(run.finished);
    const std::vector<int16_t> got = ToSamples(run.pcm);
    EXPECT_GT(got.size(), expected.size() * 8 / 10);
    EXPECT_LT(got.size(), expected.size() * 12 / 10);
    // The first third is before the damage and decodes as the undamaged file does. When the frames
    // found disagree with the LAME tag's count, the library no longer trusts the tag's gapless
    // figures, so the start may keep the encoder's delay (1,105 frames): the lag is searched.
    const std::vector<int16_t> head(got.begin(), got.begin() + got.size() / 3);
    const int lag = BestLag(head, expected, 2 * 1200);
    EXPECT_TRUE(lag == 0 || lag == -2 * 1105) << "lag " << lag;
    EXPECT_GT(Correlation(head, expected, lag), 0.999);
}

TEST(DamagedFiles, TruncatedFilesEndWhereTheirAudioEnds) {
    // Catches: a hang waiting for bytes that never come, or a claimed length past the cut.
    DecodeRun mp3 = Decode(InitMp3Codec, DecoderInput("truncated.mp3"));
    ASSERT_EQ(mp3.opened, 1);
    EXPECT_TRUE(mp3.finished);
    const size_t full = ReadBytes(DecoderInput("layer3.mp3.raw")).size();
    EXPECT_GT(mp3.pcm.size(), full / 2);
    EXPECT_LT(mp3.pcm.size(), full * 7 / 10);
    EXPECT_LE(mp3.info.lengthSeconds, 3);

    DecodeRun wma = Decode(InitWmaCodec, DecoderInput("truncated.wma"));
    if (wma.opened == 1) {
        EXPECT_TRUE(wma.finished);
        EXPECT_LT(wma.pcm.size(), full);
    }
    DecodeRun tiny = Decode(InitMp3Codec, DecoderInput("header_only.mp3"));
    if (tiny.opened == 1) {
        EXPECT_TRUE(tiny.finished);
    }
}

TEST(DamagedFiles, WmaWithRandomBytesInTheMiddleEnds) {
    // Catches: the library's damaged-packet path crashing or looping inside our adapter.
    DecodeRun run = Decode(InitWmaCodec, DecoderInput("damaged_middle.wma"));
    if (run.opened == 1) {
        EXPECT_TRUE(run.finished);
    }
}

TEST(DamagedFiles, FilesThatAreNotMpegAudioAreRefused) {
    // Catches: a decoder that "finds" frames in text or noise and plays noise as music.
    for (const char* name : {"text.mp3", "noise.mp3"}) {
        DecodeRun run = Decode(InitMp3Codec, DecoderInput(name));
        EXPECT_EQ(run.opened, 0) << name << " gave " << run.pcm.size() << " bytes";
    }
}

} // namespace
