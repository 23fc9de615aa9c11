// Real burns from the recorder simulator into a running Quaverlane: the watcher, the track
// queue, the conversion thread and the track finish, seen through the files it produces in its
// default output folder with its default filename format, "<Playlist>\<Title>".
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"
#include "finish/Id3Tag.h"
#include "tests/support/Mp3FileLayout.h"
#include "tests/support/SampleDiscTexts.h"
#include "res/ids/ManagerIds.h"
#include "res/ids/TrayIds.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace qvltest;

namespace {

constexpr DWORD kTimeout = 30000;

// Captured WAVs still waiting in the burn folders below the capture folder.
size_t CapturedWavCount(const std::string& capture) {
    size_t count = 0;
    WIN32_FIND_DATAA found;
    ScopedFindHandle find(FindFirstFileA((capture + "\\*").c_str(), &found));
    for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &found) != 0) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && found.cFileName[0] != '.') {
            count += CountFiles(capture + "\\" + found.cFileName, "*.wav");
        }
    }
    return count;
}

// Kept WAVs and MP3s that hold a whole track of the long burn below.
size_t WholeTracks(const std::string& album) {
    size_t whole = CountFiles(album, "*.WAV");
    WIN32_FIND_DATAA found;
    ScopedFindHandle find(FindFirstFileA((album + "\\*.MP3").c_str(), &found));
    for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &found) != 0) {
        Mp3FileLayout layout;
        if (ReadMp3FileLayout(ReadFile(album + "\\" + found.cFileName), layout) &&
            layout.AudioSeconds() > 239) {
            ++whole;
        }
    }
    return whole;
}

class BurnEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        // An earlier run's files would shift the free-name numbering.
        DeleteFolderTree(m_album);
        m_program = std::make_unique<ChildProcess>(BinFolder() + "\\Quaverlane.exe", "");
        ASSERT_NE(AppControl::WaitForMainWindow(m_program->Id(), kTimeout), nullptr);
    }
    void TearDown() override {
        if (HWND window = AppControl::FindMainWindow(m_program->Id())) {
            EXPECT_TRUE(AppControl::RequestExit(window, kTimeout));
            EXPECT_EQ(m_program->Wait(kTimeout), 0u);
        }
        DeleteFolderTree(m_album);
    }

    // Burns the simulator's sample disc of three short tracks as fast as the disk allows;
    // returns the tick count when the simulator had written everything.
    DWORD Burn() {
        ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max --sample-seconds 2");
        EXPECT_EQ(recorder.Wait(kTimeout), 0u);
        return GetTickCount();
    }
    std::string Output(int track, const std::string& suffix = "") const {
        return m_album + "\\" + kSampleTitles[track] + suffix + ".MP3";
    }
    // The tick count at which each file was first seen, polling every 20 ms; 0 for one never seen.
    static std::vector<DWORD> WhenTheyAppear(const std::vector<std::string>& paths) {
        std::vector<DWORD> seen(paths.size(), 0);
        WaitFor(
            [&] {
                for (size_t i = 0; i < paths.size(); ++i) {
                    if (seen[i] == 0 && FileExists(paths[i])) {
                        seen[i] = GetTickCount();
                    }
                }
                return std::count(seen.begin(), seen.end(), 0u) == 0;
            },
            kTimeout);
        return seen;
    }
    void ExpectTags(const std::string& path, int track) {
        TrackTags tags;
        ReadId3Tag(path.c_str(), ID3TT_ID3V2, tags);
        EXPECT_EQ(tags.title, kSampleTitles[track]) << path;
        EXPECT_EQ(tags.artist, kSampleArtists[track]) << path;
    }

    TestFolder m_root;
    std::string m_capture = m_root / "capture";
    std::string m_album = JoinPath(DefaultOutputFolder(), kSampleAlbum);
    RegistryValue m_tempFolder{HKEY_LOCAL_MACHINE, "Software\\Quaverlane", "TempFolder", m_capture};
    std::unique_ptr<ChildProcess> m_program;
};

// How far the status window's bar is filled: along the middle row of the bar, the pixels that look
// like its leftmost one (the bar fills from the left; the window is translucent, so colours are
// compared with some room).
int BarFill(const RECT& window) {
    constexpr int kBarLeft = 21, kBarTop = 64, kBarWidth = 173, kBarHeight = 15;
    HDC screen = GetDC(nullptr);
    int y = window.top + kBarTop + kBarHeight / 2;
    COLORREF first = GetPixel(screen, window.left + kBarLeft + 1, y);
    int fill = 0;
    for (int x = 1; x < kBarWidth - 1; ++x) {
        COLORREF pixel = GetPixel(screen, window.left + kBarLeft + x, y);
        if (std::abs(GetRValue(pixel) - GetRValue(first)) + std::abs(GetGValue(pixel) - GetGValue(first)) +
                std::abs(GetBValue(pixel) - GetBValue(first)) <
            24) {
            ++fill;
        }
    }
    ReleaseDC(nullptr, screen);
    return fill;
}

LONG Since(DWORD then, DWORD now) {
    return static_cast<LONG>(now - then);
}

} // namespace

TEST_F(BurnEndToEnd, EveryTrackIsConvertedOnceInOrderTheLastAsSoonAsTheCueSheetProvesItComplete) {
    DWORD burnt = Burn();
    std::vector<DWORD> appeared = WhenTheyAppear({Output(0), Output(1), Output(2)});
    ASSERT_TRUE(WaitFor([&] { return CapturedWavCount(m_capture) == 0; }, kTimeout))
        << "every captured WAV goes once its track is converted";
    Sleep(1000);
    EXPECT_EQ(CountFiles(m_album), 3u) << "each track exactly once";
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(appeared[i], 0u) << Output(i);
        ExpectTags(Output(i), i);
    }
    EXPECT_GE(Since(appeared[0], appeared[1]), 0) << "in burn order";
    EXPECT_GE(Since(appeared[1], appeared[2]), 0) << "in burn order";
    // Track 2 is complete once track 3 appears; the queue polls every 200 ms.
    EXPECT_LT(Since(burnt, appeared[1]), 2000);
    EXPECT_LT(Since(burnt, appeared[2]), 2000)
        << "no five-second wait for a track the cue sheet proves whole";
}

TEST_F(BurnEndToEnd, ALastTrackWhoseWriterPausesForSixSecondsIsConvertedWhole) {
    Burn();
    ASSERT_TRUE(WaitFor([&] { return FileExists(Output(2)) && CapturedWavCount(m_capture) == 0; }, kTimeout));
    DWORD started = GetTickCount();
    ChildProcess recorder(BinFolder() + "\\recsim.exe",
                          "--speed max --sample-seconds 2 --pause-track 3 --pause-seconds 6");
    std::vector<DWORD> appeared = WhenTheyAppear({Output(2, "1")});
    ASSERT_EQ(recorder.Wait(kTimeout), 0u);
    ASSERT_TRUE(WaitFor([&] { return CapturedWavCount(m_capture) == 0; }, kTimeout));
    EXPECT_GE(Since(started, appeared[0]), 6000) << "not taken while its writer was in the middle of it";
    Mp3FileLayout whole, paused;
    ASSERT_TRUE(ReadMp3FileLayout(ReadFile(Output(2)), whole));
    ASSERT_TRUE(ReadMp3FileLayout(ReadFile(Output(2, "1")), paused));
    EXPECT_NEAR(paused.AudioSeconds(), whole.AudioSeconds(), 0.03) << "the same track, whole";
    EXPECT_EQ(CountFiles(m_album), 6u);
}

TEST_F(BurnEndToEnd, ExitWhileTracksConvertOrWaitReturnsWithinASecondAndLosesNoTrack) {
    // Long tracks: an encode that ran on after the stop would take seconds.
    const char* kLongBurn = "--speed max --sample-seconds 240";
    ChildProcess recorder(BinFolder() + "\\recsim.exe", kLongBurn);
    ASSERT_EQ(recorder.Wait(kTimeout), 0u);
    // First while the first track encodes; then, in a second run, as soon as the first track is
    // done, while the next one is being named and prepared.
    for (int moment = 0; moment < 2; ++moment) {
        if (moment == 0) {
            ASSERT_TRUE(WaitFor([&] { return FileExists(Output(0)); }, kTimeout));
        } else {
            m_program = std::make_unique<ChildProcess>(BinFolder() + "\\Quaverlane.exe", "");
            ASSERT_NE(AppControl::WaitForMainWindow(m_program->Id(), kTimeout), nullptr);
            ChildProcess again(BinFolder() + "\\recsim.exe", kLongBurn);
            ASSERT_EQ(again.Wait(kTimeout), 0u);
            ASSERT_TRUE(WaitFor([&] { return CapturedWavCount(m_capture) == 2; }, kTimeout));
        }
        HWND window = AppControl::FindMainWindow(m_program->Id());
        // The tray menu's Exit the first time, the program menu's the second.
        ASSERT_TRUE(AppControl::PostCommand(window, moment == 0 ? ID_TRAY_EXIT : ID_EXIT_QUAVERLANE));
        ASSERT_TRUE(WaitFor([&] { return AppControl::FindMessageBox(m_program->Id(), "exit") != nullptr; },
                            kTimeout));
        DWORD asked = GetTickCount();
        ASSERT_TRUE(AppControl::AnswerMessageBox(m_program->Id(), "exit", IDYES, kTimeout));
        EXPECT_EQ(m_program->Wait(kTimeout), 0u);
        EXPECT_LT(GetTickCount() - asked, 1000u) << "moment " << moment;
        // Every track of both burns is a whole MP3 or a kept WAV: the track cut short by the
        // exit and those still waiting are kept as they were captured.
        EXPECT_EQ(WholeTracks(m_album), 3u * (moment + 1)) << "moment " << moment;
        EXPECT_EQ(CapturedWavCount(m_capture), 0u);
    }
}

TEST_F(BurnEndToEnd, TheStatusWindowShowsAtTheCornerWhileTracksEncodeWithItsBarAdvancingAndThenHides) {
    // The main window can be found while it is still making the windows it owns.
    HWND status = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            return (status = AppControl::FindWindowTitled(m_program->Id(), "Quaverlane Status")) != nullptr;
        },
        kTimeout));
    EXPECT_FALSE(IsWindowVisible(status)) << "hidden until something is encoded";
    ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max --sample-seconds 60");
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(status) != FALSE; }, kTimeout));
    RECT place;
    GetWindowRect(status, &place);
    RECT workArea{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_EQ(place.right, workArea.right);
    EXPECT_EQ(place.bottom, workArea.bottom);
    EXPECT_EQ(place.right - place.left, 215);
    EXPECT_EQ(place.bottom - place.top, 92);
    // The bar grows while a track encodes, and starts again low with the next track.
    int runStart = -1;
    int last = -1;
    int grown = 0;
    WaitFor(
        [&] {
            if (IsWindowVisible(status)) {
                int fill = BarFill(place);
                if (runStart < 0 || fill < last) {
                    runStart = fill;
                }
                last = fill;
                grown = std::max(grown, fill - runStart);
            }
            return grown > 20;
        },
        kTimeout);
    EXPECT_GT(grown, 20) << "the bar advanced by " << grown << " pixels";
    ASSERT_EQ(recorder.Wait(kTimeout), 0u);
    ASSERT_TRUE(WaitFor([&] { return CapturedWavCount(m_capture) == 0; }, 3 * kTimeout));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(status) == FALSE; }, 2000))
        << "hidden once all is encoded";
}
