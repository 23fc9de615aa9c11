// The WMA decoder over WmaDecodeCore.dll, against FFmpeg's own decoding of an FFmpeg-made file;
// and what the user sees when the library is missing.
#include "player/Modules.h"
#include "player/decoders/WmaCodec.h"
#include "tests/player/DecoderTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace qvltest;

namespace {

TEST(WmaCodec, ReportsItsDefaultsBeforeAFileIsOpen) {
    // Catches: a player that shows zeros (or garbage) for a WMA file it has not opened yet.
    CodecModule codec{};
    InitWmaCodec(&codec);
    FileInfo info{};
    codec.GetFileInfo(&codec, &info);
    EXPECT_EQ(info.lengthSeconds, 276);
    EXPECT_EQ(info.reserved, 0);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.stereo, 1);
    EXPECT_EQ(info.bits16, 1);
    ASSERT_NE(codec.extensions, nullptr);
    EXPECT_STREQ(codec.extensions->text, "WMA");
    EXPECT_EQ(codec.extensions->next, nullptr);
    codec.Uninitialise(&codec);
}

TEST(WmaCodec, MatchesFfmpegsDecoding) {
    // Catches: the state block handed over wrongly, the format not taken from the library, or
    // blocks dropped between calls.
    const std::vector<int16_t> expected = ToSamples(ReadBytes(DecoderInput("wmav2.wma.raw")));
    ASSERT_FALSE(expected.empty()) << "make_decoder_inputs.sh has not run";
    DecodeRun run = Decode(InitWmaCodec, DecoderInput("wmav2.wma"), 40000);
    ASSERT_EQ(run.opened, 1);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.info.sampleRate, 44100);
    EXPECT_EQ(run.info.stereo, 1);
    EXPECT_EQ(run.info.bits16, 1);
    EXPECT_EQ(run.info.lengthSeconds, 4);
    const std::vector<int16_t> got = ToSamples(run.pcm);
    // One 2,048-sample frame either way: the library and FFmpeg's command line may differ in
    // whether the encoder's first frame is played.
    EXPECT_LE(std::llabs(static_cast<long long>(got.size()) - static_cast<long long>(expected.size())),
              2 * 2048);
    const int lag = BestLag(got, expected, 2 * 2100);
    EXPECT_GT(Correlation(got, expected, lag), 0.999) << "lag " << lag;
}

TEST(WmaCodec, SeekGivesTheTailOfAFullDecode) {
    // Catches: a seek that is ignored, or one that starts again from the beginning of the file.
    DecodeRun whole = Decode(InitWmaCodec, DecoderInput("wmav2.wma"));
    DecodeRun tail = Decode(InitWmaCodec, DecoderInput("wmav2.wma"), 262144, 1, 2);
    ASSERT_EQ(tail.opened, 1);
    ASSERT_GT(tail.pcm.size(), whole.pcm.size() / 3);
    ASSERT_LT(tail.pcm.size(), whole.pcm.size() * 2 / 3);
    EXPECT_TRUE(std::equal(tail.pcm.begin(), tail.pcm.end(), whole.pcm.end() - tail.pcm.size()));

    CodecModule codec{};
    InitWmaCodec(&codec);
    ASSERT_EQ(codec.OpenFile(&codec, DecoderInput("wmav2.wma").c_str(), 0, nullptr), 1);
    codec.Seek(&codec, 3, 4);
    EXPECT_EQ(codec.GetCurrentPos(&codec), 3);
    codec.Seek(&codec, 1, 4); // backwards: the file is opened again
    EXPECT_EQ(codec.GetCurrentPos(&codec), 1);
    codec.Uninitialise(&codec);
}

TEST(WmaCodec, RefusesFilesThatAreNotWma) {
    // Catches: an open that reports success for any file the library cannot decode.
    for (const char* name : {"empty.wma", "tone.wav", "layer3.mp3"}) {
        DecodeRun run = Decode(InitWmaCodec, DecoderInput(name));
        EXPECT_EQ(run.opened, 0) << name;
    }
}

// The message box is a real window: found by its caption, read, and answered No.
struct MissingLibraryDialog {
    std::atomic<bool> seen{false};
    std::string text;
    bool hasYes = false;
    bool hasNo = false;
    bool hasOk = false;
};

TEST(WmaCodec, OffersTheDownloadWhenTheLibraryIsMissing) {
    // Catches: a silent failure, a different text or caption, or buttons other than Yes and No.
    TestFolder empty;
    MissingLibraryDialog dialog;
    std::thread answer([&dialog] {
        for (int i = 0; i < 500 && !dialog.seen; ++i) {
            HWND box = FindWindowA("#32770", "Error");
            if (box != nullptr) {
                char text[1024] = "";
                GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
                dialog.text = text;
                dialog.hasYes = GetDlgItem(box, IDYES) != nullptr;
                dialog.hasNo = GetDlgItem(box, IDNO) != nullptr;
                dialog.hasOk = GetDlgItem(box, IDOK) != nullptr;
                dialog.seen = true;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
                return;
            }
            Sleep(20);
        }
    });
    CodecModule codec{};
    InitWmaCodecFromFolder(&codec, empty.Path().c_str());
    EXPECT_EQ(codec.OpenFile(&codec, DecoderInput("wmav2.wma").c_str(), 0, nullptr), 0);
    answer.join();
    codec.Uninitialise(&codec);
    ASSERT_TRUE(dialog.seen) << "no message box captioned \"Error\"";
    EXPECT_EQ(dialog.text,
              "WMA is not supported yet!\n\nYou need to download the latest version of Windows Media "
              "Player to add WMA support.\n\nWould you like to read more information about how to "
              "download now? ");
    EXPECT_TRUE(dialog.hasYes);
    EXPECT_TRUE(dialog.hasNo);
    EXPECT_FALSE(dialog.hasOk);
}

} // namespace
