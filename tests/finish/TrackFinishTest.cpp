// Single captured tracks through the finishing step, called the way the conversion thread calls it.
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "capture/CaptureIntake.h"
#include "companions/qvllog/qvllog.h"
#include "finish/NameSanitiser.h"
#include "project/DiscCatalogue.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace qvltest;

namespace {

constexpr size_t kBytesPerSecond = 44100 * 4;

void Fill(char (&field)[kTextFieldSize], const char* text) {
    lstrcpynA(field, text, kTextFieldSize);
}

std::string WriteTrack(const std::string& path, double seconds = 0.1) {
    WriteFile(path, WavBytes(TestPcm(static_cast<size_t>(seconds * kBytesPerSecond) & ~size_t{3})));
    return path;
}

std::string NewFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// A folder on a file system of a few dozen kilobytes, when the test run could mount one.
std::string SmallDisk() {
    char folder[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("QVL_SMALL_DISK", folder, MAX_PATH);
    ULARGE_INTEGER total{};
    if (length == 0 || length >= MAX_PATH || !GetDiskFreeSpaceExA(folder, nullptr, &total, nullptr) ||
        total.QuadPart > 1024 * 1024) {
        return {};
    }
    return folder;
}

// Where a track is kept when its output folder cannot take it; an earlier run's file would shift
// the numbering.
std::string KeptInDefaultFolder(const char* name) {
    std::string path = DefaultOutputFolder() + "\\" + name;
    DeleteFileA(path.c_str());
    return path;
}

} // namespace

TEST(TrackFinish, PathsThatAreNoCapturedTrackAreLeftAlone) {
    TestFolder root;
    std::string notWav = WriteTrack(root / "Track01.mp3");
    std::string noNumber = WriteTrack(root / "Track.wav");
    CaptureIntake intake;
    TrackFinisher& finish = intake.Finisher();
    FinishChoices choices{root / "out", "<Title>", OutputFormat::Wav, {}};
    finish.SetChoices(choices);
    EXPECT_EQ(finish.ConvertCapturedTrack(nullptr), 0);
    EXPECT_EQ(finish.ConvertCapturedTrack(kSessionEndMarker), 0);
    EXPECT_EQ(finish.ConvertCapturedTrack(notWav.c_str()), 0);
    EXPECT_EQ(finish.ConvertCapturedTrack(noNumber.c_str()), 0);
    EXPECT_TRUE(FileExists(notWav));
    EXPECT_TRUE(FileExists(noNumber));
    EXPECT_FALSE(FolderExists(root / "out"));
    EXPECT_TRUE(finish.SessionFolder().empty());
}

TEST(TrackFinish, ABurnsFirstTrackFixesTheDiscLabelAndTheOutputFolderForTheWholeBurn) {
    TestFolder root;
    std::string burnA = NewFolder(root / "A");
    std::string second = WriteTrack(burnA + "\\TRACK01.WAV");
    std::string third = WriteTrack(burnA + "\\Track02.wav");
    CaptureIntake intake;
    TrackFinisher& finish = intake.Finisher();
    FinishChoices choices{root / "first", "<Playlist>\\<Title>", OutputFormat::Wav, {}};
    finish.SetChoices(choices);
    DiscTrackInfo* table = intake.Table().Records();
    Fill(table[0].title, "  Best Of \t");
    Fill(table[2].title, "A/B");

    EXPECT_EQ(finish.ConvertCapturedTrack(second.c_str()), 1);
    EXPECT_EQ(finish.DiscLabel(), "Best Of") << "the CD-TEXT album title, trimmed";
    EXPECT_EQ(finish.SessionFolder(), burnA);
    EXPECT_EQ(finish.SessionOutputFolder(), root / "first\\");
    EXPECT_TRUE(FileExists(root / "first\\Best Of\\A-B.WAV"));
    EXPECT_FALSE(FileExists(second)) << "the captured WAV goes once it is converted";
    EXPECT_EQ(GetDiscCatalogue().NewDiscLabel(), "Best Of") << "the manager names the new disc from it";
    EXPECT_FALSE(finish.IsFinishing());

    choices.outputFolder = root / "second";
    finish.SetChoices(choices);
    Fill(table[0].title, "Renamed");
    EXPECT_EQ(finish.ConvertCapturedTrack(third.c_str()), 1);
    EXPECT_TRUE(FileExists(root / "first\\Best Of\\.WAV")) << "same burn: same folder and label; no title";

    intake.Table().Clear();
    std::string burnB = NewFolder(root / "B");
    std::string next = WriteTrack(burnB + "\\Track00.wav");
    EXPECT_EQ(finish.ConvertCapturedTrack(next.c_str()), 1);
    std::string label = GetDiscCatalogue().DefaultDiscLabel();
    EXPECT_EQ(finish.DiscLabel(), label) << "a burn without CD-TEXT is named after the catalogue";
    EXPECT_TRUE(FileExists(root / ("second\\" + label + "\\.WAV"))) << "a new burn takes the new setting";
}

TEST(TrackFinish, ATrackThatCannotBeConvertedIsKeptUnderItsOutputName) {
    TestFolder root;
    std::string cut = root / "Track04.wav";
    std::string bytes = WavBytes(TestPcm(4000)).substr(0, 30);
    WriteFile(cut, bytes);
    CaptureIntake intake;
    TrackFinisher& finish = intake.Finisher();
    FinishChoices choices{root / "out", "<Number>", OutputFormat::Mp3, {}};
    finish.SetChoices(choices);
    EXPECT_EQ(finish.ConvertCapturedTrack(cut.c_str()), 0) << "a WAV cut inside its head is not converted";
    EXPECT_FALSE(FileExists(cut));
    EXPECT_FALSE(FileExists(root / "out\\05.MP3"));
    EXPECT_EQ(ReadFile(root / "out\\05.WAV"), bytes) << "moved, not lost";
    EXPECT_FALSE(finish.IsFinishing());
}

TEST(TrackFinish, AnOutputFolderThatCannotBeCreatedCostsTheTrackOnly) {
    TestFolder root;
    std::string unwritable = UncreatableFolder(root.Path());
    CaptureIntake intake;
    TrackFinisher& finish = intake.Finisher();
    FinishChoices choices{unwritable, "<Number>", OutputFormat::Wav, {}};
    finish.SetChoices(choices);
    EncoderWindow window;
    intake.Driver().notifyWindow = window.Get();
    std::string wav = WriteTrack(root / "Track00.wav");
    std::string kept = KeptInDefaultFolder("01.WAV");
    EXPECT_EQ(finish.ConvertCapturedTrack(wav.c_str()), 1) << "the WAV encoder fails without a word";
    EXPECT_FALSE(FileExists(wav));
    EXPECT_TRUE(FileExists(kept)) << "kept where the output folder could not take it";
    DeleteFileA(kept.c_str());

    choices.outputFormat = OutputFormat::Mp3;
    finish.SetChoices(choices);
    ASSERT_EQ(LogOpen((root / "qvl.log").c_str()), 1);
    std::string mp3 = WriteTrack(NewFolder(root / "next") + "\\Track01.wav");
    kept = KeptInDefaultFolder("02.WAV");
    std::atomic<bool> finishingWhileAsked = false;
    std::thread user([&] {
        WaitFor(
            [] { return AppControl::FindMessageBox(GetCurrentProcessId(), "Create MP3 file") != nullptr; },
            10000);
        finishingWhileAsked = finish.IsFinishing();
        EXPECT_TRUE(AppControl::AnswerMessageBox(GetCurrentProcessId(), "Create MP3 file", IDOK, 10000));
    });
    EXPECT_EQ(finish.ConvertCapturedTrack(mp3.c_str()), 1);
    user.join();
    EXPECT_TRUE(finishingWhileAsked) << "the MP3 encoder asks the user while the track is in hand";
    std::vector<std::string> log = ReadLogLines(root / "qvl.log");
    LogOpen("NUL");
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(log[0].starts_with("Create MP3 file " + unwritable + "\\02.MP3 error: dwLastCode=0x"))
        << log[0];
    EXPECT_FALSE(FileExists(mp3));
    EXPECT_TRUE(FileExists(kept));
    DeleteFileA(kept.c_str());
    window.Pump();
    ASSERT_EQ(window.finished.size(), 2u) << "both tracks are still reported";
    EXPECT_FALSE(FileExists(window.finished[1]->outputPath));
}

TEST(TrackFinish, AFullDiskEndsTheFileEarlyWithoutHangingOrCrashing) {
    std::string disk = SmallDisk();
    if (disk.empty()) {
        GTEST_SKIP() << "no small file system: the test run may not mount one";
    }
    std::string folder = disk + "\\out";
    DeleteFolderTree(folder);
    TestFolder root;
    CaptureIntake intake;
    TrackFinisher& finish = intake.Finisher();
    FinishChoices choices{folder, "<Number>", OutputFormat::Mp3, {}};
    finish.SetChoices(choices);
    std::string mp3 = WriteTrack(root / "Track00.wav", 8);
    CopyFileA(mp3.c_str(), (root / "copy.wav").c_str(), FALSE);
    std::string kept = KeptInDefaultFolder("01.WAV");
    DWORD start = GetTickCount();
    EXPECT_EQ(finish.ConvertCapturedTrack(mp3.c_str()), 1);
    EXPECT_FALSE(FileExists(mp3));
    EXPECT_EQ(ReadFile(kept), ReadFile(root / "copy.wav")) << "the whole track, where there was room";
    DeleteFileA(kept.c_str());
    FoundFileInfo written;
    ASSERT_EQ(FindFileInfo(folder + "\\01.MP3", written), 1);
    EXPECT_GT(written.size, 0u);
    EXPECT_LT(written.size, 64u * 1024) << "eight seconds at 160 kbit/s would be 160 KB";

    choices.outputFormat = OutputFormat::Wav;
    finish.SetChoices(choices);
    std::string wav = WriteTrack(root / "Track01.wav", 1);
    kept = KeptInDefaultFolder("02.WAV");
    EXPECT_EQ(finish.ConvertCapturedTrack(wav.c_str()), 1);
    EXPECT_FALSE(FileExists(wav));
    EXPECT_TRUE(FileExists(kept));
    DeleteFileA(kept.c_str());
    EXPECT_LT(GetTickCount() - start, 30000u);

    // The audio fits but the tag with its cover does not: the file is not whole either.
    DeleteFolderTree(folder);
    choices.outputFormat = OutputFormat::Mp3;
    finish.SetChoices(choices);
    std::string cover = root / "cover.jpg";
    WriteFile(cover, "\xFF\xD8\xFF\xE0" + std::string(48 * 1024, 'c') + "\xFF\xD9");
    lstrcpynA(intake.Table().Records()[3].artworkPath, cover.c_str(), kPathFieldSize);
    lstrcpynA(intake.Table().Records()[3].title, "Covered", kTextFieldSize);
    std::string tagged = WriteTrack(root / "Track02.wav", 1);
    kept = KeptInDefaultFolder("03.WAV");
    EXPECT_EQ(finish.ConvertCapturedTrack(tagged.c_str()), 1);
    EXPECT_FALSE(FileExists(tagged));
    EXPECT_TRUE(FileExists(kept)) << "kept: its tags could not be written";
    DeleteFileA(kept.c_str());
    DeleteFolderTree(folder);
}
