#include "companions/AudioTagCore/EncodeOutcome.h"
#include "tests/companions/WmaLibraries.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace qvltest;

namespace {

constexpr long kFrame = 2048;

// The text in the system code page, as the program hands tags over.
std::string Ansi(const wchar_t* text) {
    char buffer[256];
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

} // namespace

TEST(WmaCatalogue, OffersBothCodecsWithFormatsTheUserCanTellApart) {
    WmaLibraries libraries;
    ASSERT_TRUE(libraries.Loaded());
    IWMACodecInfoManager* manager = libraries.NewManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_EQ(manager->Initialise(44100, 2, 16), 1);
    ASSERT_EQ(manager->BuildCatalogue(), 1);
    WmaCodecList* list = manager->GetCatalogue();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->codecCount, 2);
    EXPECT_STREQ(list->codecs[0]->description, "Windows Media Audio 2");
    EXPECT_STREQ(list->codecs[1]->description, "Windows Media Audio 1");
    for (int c = 0; c < list->codecCount; ++c) {
        const WmaCodecRecord& codec = *list->codecs[c];
        EXPECT_EQ(codec.codecIndex, c);
        ASSERT_GE(codec.formatCount, 3);
        std::set<std::string> seen;
        for (int f = 0; f < codec.formatCount; ++f) {
            const WmaFormatRecord& format = *codec.formats[f];
            EXPECT_EQ(format.formatIndex, f);
            EXPECT_EQ(format.passes, 1);
            EXPECT_TRUE(seen.insert(format.description).second) << format.description;
            EXPECT_NE(std::string(format.description).find("kbps, 44 kHz, stereo CBR"), std::string::npos)
                << format.description;
        }
    }
    EXPECT_STREQ(list->codecs[0]->formats[2]->description, "128 kbps, 44 kHz, stereo CBR");

    // The choice a project file without WMA attributes gives, and a pair it may hold from an older
    // catalogue, which leaves the choice as it was.
    int codec = -2;
    int format = -2;
    manager->GetChoice(&codec, &format);
    EXPECT_EQ(codec, 0);
    EXPECT_EQ(format, 0);
    EXPECT_EQ(manager->SetChoice(1, 2), 1);
    EXPECT_EQ(manager->SetChoice(2, 0), 0);
    EXPECT_EQ(manager->SetChoice(1, 99), 0);
    manager->GetChoice(&codec, &format);
    EXPECT_EQ(codec, 1);
    EXPECT_EQ(format, 2);
    EXPECT_EQ(manager->GetChosenFormat(), list->codecs[1]->formats[2]);
    EXPECT_EQ(manager->IsTwoPass(), 0);
    EXPECT_EQ(manager->SetChoice(-1, -1), 1);
    EXPECT_EQ(manager->GetChosenFormat(), nullptr);
    manager->Release();
}

TEST(WmaEncoder, ATrackThroughThePipeDecodesToItsSourceWithTagsAndCover) {
    WmaLibraries libraries;
    ASSERT_TRUE(libraries.Loaded());
    TestFolder folder;
    std::vector<int16_t> source = SweepPcm(5.0);
    std::string wav = folder / "Track07.wav";
    WriteFile(wav, WavBytes(PcmBytes(source)));
    std::string cover = folder / "cover.jpg";
    WriteFile(cover, CoverPicture());

    // A choice other than the default: the encoder must take it from the manager.
    IWMACodecInfoManager* manager = libraries.NewManager();
    ASSERT_NE(manager, nullptr);
    manager->Initialise(44100, 2, 16);
    manager->BuildCatalogue();
    ASSERT_EQ(manager->SetChoice(1, 3), 1) << "WMA 1 at 96 kbps";
    CAudioEncoder* encoder = libraries.NewEncoder();
    ASSERT_NE(encoder, nullptr);
    encoder->SetWMACodecInfoManager(manager);
    EXPECT_EQ(encoder->IsReady(), 1);

    TrackTags tags;
    tags.trackNumber = 7;
    tags.title = "Sweep";
    tags.artist = Ansi(L"Zo\u00eb Quaverlane");
    tags.album = "Round Trip";
    tags.year = "2024";
    tags.genre = "Electronic";
    tags.composer = "Clara Composer";
    tags.artworkPath = cover;
    std::string output = folder / "Sweep.wma";
    EncoderWindow window;
    _AUDIO_ENCODE_WORK_PARAM work;
    ASSERT_EQ(RunTrack(*encoder, wav, output, tags, window, work), 1);

    EXPECT_TRUE(EncodeOutcome::IsWhole(work)) << "exit code " << EncodeOutcome::ExitCode(work);
    const DWORD total = static_cast<DWORD>(source.size() * 2);
    ASSERT_FALSE(window.progress.empty());
    EXPECT_EQ(window.progress.back(), std::make_pair(WPARAM{total >> 10}, LPARAM{total >> 10}));
    ASSERT_EQ(window.finished.size(), 1u);
    const _AUDIO_ENCODE_FINISH_RESULT& result = *window.finished[0];
    EXPECT_STREQ(result.title, "Sweep");
    EXPECT_EQ(std::string(result.artist), tags.artist.c_str());
    EXPECT_STREQ(result.album, "Round Trip");
    EXPECT_STREQ(result.genre, "Electronic");
    EXPECT_EQ(std::string(result.outputPath), output);
    EXPECT_EQ(std::string(result.sourcePath), wav);
    EXPECT_STREQ(result.duration, "0:05");

    WmaLibraries::Decoded decoded = libraries.Decode(output, 10000);
    ASSERT_EQ(decoded.openResult, kWmaDecodeOk);
    EXPECT_EQ(decoded.state.sampleRate, 44100u);
    EXPECT_EQ(decoded.state.stereo, 1u);
    EXPECT_EQ(decoded.state.sixteenBit, 1u);
    EXPECT_EQ(decoded.state.lengthSeconds, 5u);
    EXPECT_EQ(decoded.state.bitrate, 96000u);
    // Nothing lost at either end: the decoded audio starts with the source's first sample and
    // holds all of it, with at most the silence that fills the last frames behind it.
    std::vector<int16_t> head(source.begin(), source.begin() + 2 * 44100);
    long best = 0;
    for (long lag = -2 * kFrame; lag <= 2 * kFrame; lag += 2) {
        if (Correlation(head, decoded.pcm, lag) > Correlation(head, decoded.pcm, best)) {
            best = lag;
        }
    }
    EXPECT_EQ(best, 0);
    EXPECT_GE(decoded.pcm.size(), source.size());
    EXPECT_LE(decoded.pcm.size(), source.size() + 2 * 2 * kFrame);
    EXPECT_GT(Correlation(source, decoded.pcm, 0), 0.98);

    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(output, "sweep.wma"));
    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(wav, "sweep.wav"));
    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(cover, "cover.jpg"));
    encoder->Release();
    manager->Release();
}

TEST(WmaEncoder, AnAbortOrAFileThatCannotBeMadeIsReportedButNeverCalledWhole) {
    WmaLibraries libraries;
    ASSERT_TRUE(libraries.Loaded());
    TestFolder folder;
    // Two minutes: long enough that the abort always comes in the middle.
    const std::string pcm = TestPcm(176400 * 120);
    std::string wav = folder / "Track01.wav";
    WriteFile(wav, WavBytes(pcm));
    TrackTags tags;
    tags.title = "Cut";
    // One object for every track, as the program keeps it, and without a manager: the default.
    CAudioEncoder* encoder = libraries.NewEncoder();
    ASSERT_NE(encoder, nullptr);

    std::string aborted = folder / "aborted.wma";
    EncoderWindow window;
    _AUDIO_ENCODE_WORK_PARAM work;
    ASSERT_EQ(RunTrack(*encoder, wav, aborted, tags, window, work, true), 1);
    EXPECT_FALSE(EncodeOutcome::IsWhole(work));
    EXPECT_EQ(EncodeOutcome::ExitCode(work), EncodeOutcome::kAborted);
    ASSERT_EQ(window.finished.size(), 1u);
    EXPECT_EQ(std::string(window.finished[0]->outputPath), aborted);
    WmaLibraries::Decoded decoded = libraries.Decode(aborted);
    EXPECT_EQ(decoded.openResult, kWmaDecodeOk) << "what was encoded is still a finished file";
    EXPECT_LT(decoded.pcm.size() * 2, pcm.size());

    std::string unreachable = folder / "no such folder\\out.wma";
    EncoderWindow second;
    ASSERT_EQ(RunTrack(*encoder, wav, unreachable, tags, second, work), 1);
    EXPECT_FALSE(EncodeOutcome::IsWhole(work));
    EXPECT_EQ(EncodeOutcome::ExitCode(work), EncodeOutcome::kFileNotCreated);
    ASSERT_EQ(second.finished.size(), 1u) << "reported with the output path that does not exist";
    EXPECT_EQ(std::string(second.finished[0]->outputPath), unreachable);
    EXPECT_FALSE(FileExists(unreachable));
    encoder->Release();
}

TEST(WmaEncoder, AFullDiskLeavesNoFileThatCouldPassForTheTrack) {
    // A file system of 64 KiB, when the test run could mount one.
    char disk[MAX_PATH] = "";
    ULARGE_INTEGER total{};
    DWORD length = GetEnvironmentVariableA("QVL_SMALL_DISK", disk, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !GetDiskFreeSpaceExA(disk, nullptr, &total, nullptr) ||
        total.QuadPart > 1024 * 1024) {
        GTEST_SKIP() << "no small disk mounted";
    }
    WmaLibraries libraries;
    ASSERT_TRUE(libraries.Loaded());
    TestFolder folder;
    std::string wav = folder / "Track02.wav";
    WriteFile(wav, WavBytes(PcmBytes(SweepPcm(10.0))));
    CAudioEncoder* encoder = libraries.NewEncoder();
    ASSERT_NE(encoder, nullptr);
    std::string output = std::string(disk) + "\\full.wma";
    EncoderWindow window;
    _AUDIO_ENCODE_WORK_PARAM work;
    ASSERT_EQ(RunTrack(*encoder, wav, output, TrackTags{}, window, work), 1);
    EXPECT_FALSE(EncodeOutcome::IsWhole(work));
    EXPECT_EQ(EncodeOutcome::ExitCode(work), EncodeOutcome::kWriteFailed);
    EXPECT_FALSE(FileExists(output));
    EXPECT_EQ(window.finished.size(), 1u);
    encoder->Release();
}
