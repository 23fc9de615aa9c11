// A track the recorder simulator captured, through the real pipeline into WAV and MP3 files,
// left for readers that share no code with the program: check_outputs.py decodes the MP3s and
// walks their frames, and reads the tags.
#include "app/Mp3EncoderSettings.h"
#include "capture/CaptureIntake.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace qvltest;

namespace {

void Fill(char (&field)[255], const char* text) {
    lstrcpynA(field, text, sizeof field);
}

// Every field the per-track table can give a track, as the player lookup would leave them.
void GiveFullTags(CaptureIntake& intake, int track, const std::string& artwork) {
    DiscTrackInfo& info = intake.Table().Records()[track];
    Fill(info.title, "Lanterns on the Breakwater");
    Fill(info.artist, "Ben Okafor Quartet");
    Fill(info.album, "Harbour Lights Suite");
    Fill(info.year, "2026");
    Fill(info.comment, "Recorded live at dusk");
    Fill(info.genre, "Rock");
    Fill(info.composer, "Tomas Feld");
    Fill(info.originalArtist, "Ines Varga");
    Fill(info.copyright, "2026 Quayside Records");
    Fill(info.url, "http://quayside.example/lanterns");
    Fill(info.encodedBy, "Quaverlane");
    lstrcpynA(info.artworkPath, artwork.c_str(), MAX_PATH);
    info.trackNumber = track;
}

// MP3 output with the encoder settings' preset of that index.
void ChooseMp3(CaptureIntake& intake, int preset, bool tags) {
    Mp3EncoderSettings mp3;
    mp3.SetPreset(preset);
    intake.SetChoices({{}, {}, OutputFormat::Mp3, {mp3.Current(), tags, tags}});
}

} // namespace

TEST(EncodeOutput, ACapturedTrackBecomesWavAndTaggedMp3Files) {
    std::string output = TestOutputFolder();
    ASSERT_FALSE(output.empty()) << "QVL_TEST_OUTPUT names the folder for the independent check";
    TestFolder root;
    std::string capture = root / "capture";
    ChildProcess recorder(BinFolder() + "\\recsim.exe",
                          "--capture \"" + capture + "\" --speed max --sample-seconds 6 --no-cdtext");
    ASSERT_EQ(recorder.Wait(30000), 0u);
    std::string source = capture + "\\00000001\\Track01.wav";
    ASSERT_TRUE(FileExists(source));
    ASSERT_TRUE(CopyFileA(source.c_str(), (output + "\\source.wav").c_str(), FALSE));

    std::string artwork = root / "cover.jpg";
    std::string jpeg = "\xFF\xD8\xFF\xE0" + TestPcm(600) + "\xFF\xD9";
    WriteFile(artwork, jpeg);
    WriteFile(output + "\\cover.jpg", jpeg);

    CaptureIntake intake;
    GiveFullTags(intake, 2, artwork);
    EncoderWindow window;
    intake.Driver().notifyWindow = window.Get();
    TrackFinisher& finish = intake.Finisher();

    EXPECT_EQ(finish.EncodeTrack(OutputFormat::Wav, source, output + "\\copy.wav"), 1);
    ChooseMp3(intake, 4, true); // 160 kbit/s constant
    EXPECT_EQ(finish.EncodeTrack(OutputFormat::Mp3, source, output + "\\cbr160.mp3"), 1);
    ChooseMp3(intake, 16, true); // 160 to 224 kbit/s variable
    EXPECT_EQ(finish.EncodeTrack(OutputFormat::Mp3, source, output + "\\vbr160-224.mp3"), 1);
    // A track the recorder cut short: its head still promises six seconds, two are there.
    std::string whole = ReadFile(source);
    WriteFile(output + "\\truncated.wav", whole.substr(0, 44 + (whole.size() - 44) / 3 / 4 * 4));
    EXPECT_EQ(finish.EncodeTrack(OutputFormat::Mp3, output + "\\truncated.wav", output + "\\truncated.mp3"),
              1);
    WriteFile(root / "empty.wav", WavBytes(""));
    EXPECT_EQ(finish.EncodeTrack(OutputFormat::Mp3, root / "empty.wav", output + "\\empty.mp3"), 1);
    window.Pump();
    // Each track's progress only grows, up to its size.
    for (size_t i = 1; i < window.progress.size(); ++i) {
        const auto& [done, total] = window.progress[i - 1];
        EXPECT_TRUE(window.progress[i].first >= done || done == static_cast<WPARAM>(total)) << i;
    }
    EXPECT_EQ(window.progress.back(), (std::pair<WPARAM, LPARAM>{0, 0})) << "the empty track";
    ASSERT_EQ(window.finished.size(), 5u) << "one report per track";
    window.finished.resize(3); // the copy and the two MP3s of the source
    for (const auto& result : window.finished) {
        EXPECT_STREQ(result->title, "Lanterns on the Breakwater");
        EXPECT_STREQ(result->genre, "Rock");
        EXPECT_EQ(result->sourcePath, source);
        EXPECT_STREQ(result->duration, "0:06");
    }
}

// At its own rate, without resampling, and without tags when both are turned off.
TEST(EncodeOutput, AnEightBitMonoTrackAt48kHzBecomesAnMp3OfTheSameLengthAndSound) {
    std::string output = TestOutputFolder();
    ASSERT_FALSE(output.empty()) << "QVL_TEST_OUTPUT names the folder for the independent check";
    // One second of a 440 Hz tone in unsigned 8-bit samples around 128.
    std::string pcm(48000, '\0');
    for (size_t i = 0; i < pcm.size(); ++i) {
        pcm[i] = static_cast<char>(128 + std::lround(90 * std::sin(2 * std::numbers::pi * 440 * i / 48000)));
    }
    std::string source = output + "\\eightbit.wav";
    WriteFile(source, WavBytes(pcm, 1, 48000, 8));
    CaptureIntake intake;
    ChooseMp3(intake, Mp3EncoderSettings::kDefaultPreset, false);
    EXPECT_EQ(intake.Finisher().EncodeTrack(OutputFormat::Mp3, source, output + "\\eightbit.mp3"), 1);
}
