// Burns of the recorder simulator through the conversion thread and the track finish into MP3 and
// WAV files. Each case leaves its files in a folder of its own below QVL_TEST_OUTPUT, which
// check_finished_tracks.py reads again afterwards.
#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"
#include "capture/CaptureIntake.h"
#include "project/DiscCatalogue.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/SampleDiscTexts.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;
using Paths = std::vector<std::string>;

namespace {

constexpr DWORD kTimeout = 60000;

// An emptied folder of this name below QVL_TEST_OUTPUT; empty when the variable is not set.
std::string CaseFolder(const std::string& name) {
    std::string root = TestOutputFolder();
    if (root.empty()) {
        return {};
    }
    std::string folder = root + "\\" + name;
    DeleteFolderTree(folder);
    CreateFolderTree(folder);
    return folder;
}

// What the music player adds to a burn with CD-TEXT, as its lookup would: the album and the track
// numbers. Of a burn without CD-TEXT it knows nothing.
class PlaylistPlayer final : public IPlayerLookup {
public:
    int LookupByCdText(BurnTrackTable& burn, const StopQuery&) override {
        DiscTrackInfo* table = burn.Records();
        for (int n = 1; n <= burn.CdTextTrackCount(); ++n) {
            lstrcpynA(table[n].album, table[0].title, kTextFieldSize);
            table[n].trackNumber = n;
        }
        return 1;
    }
    int LookupByCueSheet(BurnTrackTable&, const std::string&, const StopQuery&) override { return 0; }
};

// An intake whose conversion thread runs, and the window that collects its encoders' reports.
class RunningIntake {
public:
    RunningIntake(IPlayerLookup& player, const FinishChoices& choices) {
        intake.Driver().notifyWindow = window.Get();
        intake.Conversion().SetPlayerLookup(&player);
        intake.SetChoices(choices);
        intake.StartConversionThread();
    }
    ~RunningIntake() { intake.StopConversionThread(); }
    RunningIntake(const RunningIntake&) = delete;
    RunningIntake& operator=(const RunningIntake&) = delete;

    void Queue(const Paths& tracks) {
        for (const std::string& track : tracks) {
            intake.Queue().QueueTrack(track.c_str());
        }
    }
    size_t Reports() {
        window.Pump();
        return window.finished.size();
    }
    // Until count tracks were reported and the last of them is finished, its WAV deleted: the
    // report comes from the encoder, before the finishing step ends.
    bool WaitUntilFinished(size_t count) {
        return WaitFor([&] { return Reports() >= count && !intake.Finisher().IsFinishing(); }, kTimeout);
    }

    CaptureIntake intake;
    EncoderWindow window;
};

class TrackFinishEndToEnd : public ::testing::Test {
protected:
    // Burns the simulator's sample disc of three tracks as fast as the disk allows; the captured
    // WAVs in burn order.
    Paths Burn(double trackSeconds, const std::string& options = "") {
        ChildProcess recorder(BinFolder() + "\\recsim.exe", "--capture \"" + m_capture + "\" --speed max " +
                                                                "--sample-seconds " +
                                                                std::to_string(trackSeconds) + " " + options);
        EXPECT_EQ(recorder.Wait(kTimeout), 0u);
        // Burn folders are numbered: the newest has the highest name.
        std::string newest;
        WIN32_FIND_DATAA found;
        ScopedFindHandle find(FindFirstFileA((m_capture + "\\0*").c_str(), &found));
        for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &found) != 0) {
            newest = std::max(newest, std::string(found.cFileName));
        }
        Paths tracks;
        for (int i = 0; i < 3; ++i) {
            tracks.push_back(m_capture + "\\" + newest + "\\Track0" + std::to_string(i) + ".wav");
        }
        return tracks;
    }
    static void ExpectAllGone(const Paths& tracks) {
        for (const std::string& track : tracks) {
            EXPECT_FALSE(FileExists(track)) << "converted, so deleted: " << track;
        }
    }

    TestFolder m_root;
    std::string m_capture = m_root / "capture";
    PlaylistPlayer m_player;
};

Paths operator+(Paths first, const Paths& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace

TEST_F(TrackFinishEndToEnd, ArtistAlbumNumberFormatMakesFoldersPerArtistForWavFiles) {
    std::string output = CaseFolder("artist-wav");
    ASSERT_FALSE(output.empty());
    Paths tracks = Burn(1);
    // The checker compares the first track's PCM with what was captured.
    ASSERT_TRUE(CopyFileA(tracks[0].c_str(), (output + "\\captured-01.wav").c_str(), FALSE));
    RunningIntake running(m_player, {output, "<Artist>\\<Album>\\<Number>-<Title>", OutputFormat::Wav, {}});
    running.Queue(tracks);
    ASSERT_TRUE(running.WaitUntilFinished(3));
    for (int i = 0; i < 3; ++i) {
        std::string path = output + "\\" + kSampleArtists[i] + "\\" + kSampleAlbum + "\\0" +
                           std::to_string(i + 1) + "-" + kSampleTitles[i] + ".WAV";
        EXPECT_TRUE(FileExists(path)) << path;
    }
    ExpectAllGone(tracks);
}

TEST_F(TrackFinishEndToEnd, AnEmptyFormatNamesFilesAfterTheTitleOrAfterTheDisc) {
    std::string output = CaseFolder("empty-format");
    ASSERT_FALSE(output.empty());
    ASSERT_EQ(GetDiscCatalogue().DefaultDiscLabel(), "Disc#001")
        << "the checker expects the first disc's label";
    Paths plain = Burn(1, "--no-cdtext");
    Paths cdText = Burn(1);
    RunningIntake running(m_player, {output, "", OutputFormat::Mp3, {}});
    running.Queue(plain + cdText);
    ASSERT_TRUE(running.WaitUntilFinished(6));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(FileExists(output + "\\Disc#001-track0" + std::to_string(i + 1) + ".MP3"));
        EXPECT_TRUE(FileExists(output + "\\" + kSampleTitles[i] + ".MP3"));
    }
    EXPECT_EQ(CountFiles(output), 6u);
    ExpectAllGone(plain + cdText);
}

TEST_F(TrackFinishEndToEnd, ATrackCutShortByTheRecorderGivesAShorterFileAndTheNextTracksFollow) {
    std::string output = CaseFolder("truncated");
    ASSERT_FALSE(output.empty());
    Paths tracks = Burn(3);
    // The head still promises the whole track; a third of its audio is there.
    long long size = FileSize(tracks[1]);
    std::string cut = ReadFile(tracks[1]).substr(0, static_cast<size_t>(44 + (size - 44) / 3 / 4 * 4));
    WriteFile(tracks[1], cut);
    RunningIntake running(m_player, {output, "<Number>", OutputFormat::Mp3, {}});
    running.Queue(tracks);
    ASSERT_TRUE(running.WaitUntilFinished(3));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(FileExists(output + "\\0" + std::to_string(i) + ".MP3"));
    }
    ExpectAllGone(tracks);
}

TEST_F(TrackFinishEndToEnd, ASecondBurnArrivingWhileTheFirstConvertsKeepsItsOwnLabelAndFolder) {
    std::string output = CaseFolder("second-burn");
    ASSERT_FALSE(output.empty());
    Paths first = Burn(30);
    RunningIntake running(m_player, {output, "<Playlist>\\<Title>", OutputFormat::Mp3, {}});
    running.Queue(first);
    ASSERT_TRUE(
        WaitFor([&] { return FileExists(output + "\\" + kSampleAlbum + "\\" + kSampleTitles[0] + ".MP3"); },
                kTimeout));
    Paths second = Burn(1, "--no-cdtext");
    running.Queue(second);
    EXPECT_LT(running.Reports(), 3u) << "the first burn was still converting";
    ASSERT_TRUE(running.WaitUntilFinished(6));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(FileExists(output + "\\" + kSampleAlbum + "\\" + kSampleTitles[i] + ".MP3"));
    }
    // No CD-TEXT, so no title: the disc label makes the folder and the names are empty.
    std::string disc = output + "\\" + GetDiscCatalogue().DefaultDiscLabel();
    EXPECT_TRUE(FileExists(disc + "\\.MP3"));
    EXPECT_TRUE(FileExists(disc + "\\1.MP3"));
    EXPECT_TRUE(FileExists(disc + "\\2.MP3"));
    ExpectAllGone(first + second);
}

TEST_F(TrackFinishEndToEnd, AStopWhileATrackEncodesEndsPromptlyAndKeepsTheWaitingTracks) {
    std::string output = CaseFolder("stopped");
    ASSERT_FALSE(output.empty());
    Paths tracks = Burn(60);
    RunningIntake running(m_player, {output, "<Number>", OutputFormat::Mp3, {}});
    running.Queue(tracks);
    ASSERT_TRUE(WaitFor([&] { return FileExists(output + "\\01.MP3"); }, kTimeout));
    DWORD start = GetTickCount();
    running.intake.StopConversionThread();
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(running.Reports(), 1u) << "the aborted track is still finished and reported";
    EXPECT_LT(FileSize(output + "\\01.MP3"), 160000 / 8 * 60) << "less than a minute at 160 kbit/s";
    EXPECT_FALSE(FileExists(tracks[0]));
    EXPECT_TRUE(FileExists(output + "\\01.WAV")) << "cut short by the stop, so kept whole beside";
    EXPECT_TRUE(FileExists(tracks[1]));
    EXPECT_TRUE(FileExists(tracks[2]));
    EXPECT_FALSE(FileExists(output + "\\02.MP3"));
}
