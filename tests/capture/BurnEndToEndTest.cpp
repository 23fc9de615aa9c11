// Real burns from the recorder simulator into a running Quaverlane: the watcher, the track
// queue and the conversion thread, seen through the hand-over journal.
#include "capture/HandoverJournal.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace qvltest;

namespace {

constexpr DWORD kTimeout = 30000;

struct Handover {
    DWORD tick;
    std::string path;
    int track;
    std::string album;
    std::string title;
    std::string artist;
};

std::vector<Handover> ReadJournal(const std::string& path) {
    std::vector<Handover> entries;
    std::istringstream lines(ReadFile(path));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            fields.push_back(cell);
        }
        fields.resize(6);
        entries.push_back({static_cast<DWORD>(std::stoul(fields[0])), fields[1], std::stoi(fields[2]),
                           fields[3], fields[4], fields[5]});
    }
    return entries;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

class BurnEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA(HandoverJournal::kVariable, m_journal.c_str());
        m_program = std::make_unique<ChildProcess>(BinFolder() + "\\Quaverlane.exe", "");
        ASSERT_NE(AppControl::WaitForMainWindow(m_program->Id(), kTimeout), nullptr);
    }
    void TearDown() override {
        SetEnvironmentVariableA(HandoverJournal::kVariable, nullptr);
        if (HWND window = AppControl::FindMainWindow(m_program->Id())) {
            EXPECT_TRUE(AppControl::RequestExit(window, kTimeout));
            EXPECT_EQ(m_program->Wait(kTimeout), 0u);
        }
    }

    // Burns the simulator's sample disc of three short tracks as fast as the disk allows;
    // returns the tick count when the simulator had written everything.
    DWORD Burn() {
        ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max --sample-seconds 2");
        EXPECT_EQ(recorder.Wait(kTimeout), 0u);
        return GetTickCount();
    }
    std::vector<Handover> WaitForHandovers(size_t count) {
        WaitFor([&] { return ReadJournal(m_journal).size() >= count; }, kTimeout);
        return ReadJournal(m_journal);
    }

    TestFolder m_root;
    std::string m_capture = m_root / "capture";
    std::string m_journal = m_root / "handover.txt";
    RegistryValue m_tempFolder{HKEY_LOCAL_MACHINE, "Software\\Quaverlane", "TempFolder", m_capture};
    std::unique_ptr<ChildProcess> m_program;
};

} // namespace

TEST_F(BurnEndToEnd, EveryTrackIsHandedOverOnceInOrderTheLastAfterFiveQuietSeconds) {
    DWORD burnt = Burn();
    std::vector<Handover> handed = WaitForHandovers(3);
    Sleep(1000);
    handed = ReadJournal(m_journal);
    ASSERT_EQ(handed.size(), 3u) << "each track exactly once";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(handed[i].track, i + 1);
        EXPECT_EQ(FolderOf(handed[i].path), FolderOf(handed[0].path)) << "one burn folder";
        EXPECT_EQ(FolderOf(FolderOf(handed[i].path)), m_capture);
    }
    // Track 2 is complete once track 3 appears; the queue polls every 200 ms.
    EXPECT_LT(static_cast<LONG>(handed[1].tick - burnt), 2000);
    EXPECT_GE(handed[2].tick - burnt, 4700u) << "the last track waits for five seconds without events";
    EXPECT_LT(handed[2].tick - burnt, 8000u);

    // The burn's CD-TEXT is in the table when the first track is handed over.
    EXPECT_EQ(handed[0].album, "Harbour Lights Suite");
    EXPECT_EQ(handed[0].title, "Morning Tide Over Pier Seven");
    EXPECT_EQ(handed[0].artist, "Ada Lovelock Trio");
    EXPECT_EQ(handed[1].title, "Lanterns on the Breakwater");
    EXPECT_EQ(handed[1].artist, "Ben Okafor Quartet");
    EXPECT_EQ(handed[2].title, "Last Ferry to Saltmarsh");
    EXPECT_EQ(handed[2].artist, "Clara Wendt and the Gulls");
}

TEST_F(BurnEndToEnd, ASecondBurnCompletesTheFirstBurnsLastTrackAtOnce) {
    DWORD firstBurnt = Burn();
    DWORD secondBurnt = Burn();
    std::vector<Handover> handed = WaitForHandovers(6);
    ASSERT_EQ(handed.size(), 6u);
    EXPECT_NE(FolderOf(handed[0].path), FolderOf(handed[3].path)) << "two burn folders";
    EXPECT_EQ(handed[2].track, 3);
    EXPECT_LT(static_cast<LONG>(handed[2].tick - firstBurnt), 4000)
        << "no five-second wait for the first burn's end";
    EXPECT_LT(static_cast<LONG>(handed[2].tick - secondBurnt), 2000);
    EXPECT_GE(handed[5].tick - secondBurnt, 4700u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(handed[i].track, i % 3 + 1);
    }
}
