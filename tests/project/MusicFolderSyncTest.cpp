// The rebuild of the catalogue from the music folder, without a window: a tree of real MP3, WMA
// and WAV files (made by Debian's tools, read back by ffprobe) walked independently of the scan.
#include "app/Messages.h"
#include "app/framework/MessagePump.h"
#include "companions/AudioTagCore/TrackTimeText.h"
#include "project/MusicFolderSync.h"
#include "tests/project/CatalogueTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

using namespace qvltest;
namespace fs = std::filesystem;

namespace {

// Made beside the build by make_sync_inputs.sh.
const std::string kInputs = BinFolder() + "\\..\\test-inputs\\project-sync";

// What ffprobe read of a sample file.
struct Expected {
    std::string title, artist, album, genre;
    int seconds = 0;
};

std::map<std::string, Expected> ReadManifest() {
    std::map<std::string, Expected> manifest;
    std::ifstream in(kInputs + "\\manifest.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream parts(line);
        for (std::string field; std::getline(parts, field, '|');) {
            fields.push_back(field);
        }
        fields.resize(6);
        manifest[fields[0]] = {fields[1], fields[2], fields[3], fields[4], std::stoi(fields[5])};
    }
    return manifest;
}

FILETIME Hours(int hours) {
    // 1 January 2020 plus the hours; far from any time the test's own writes give.
    ULONGLONG value = 132223104000000000ULL + static_cast<ULONGLONG>(hours) * 36000000000ULL;
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

void SetWriteTime(const std::string& path, FILETIME time) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

// A tree of sample copies; sources remembers which sample each file is.
class SampleTree {
public:
    void Folder(const std::string& relative) {
        ASSERT_TRUE(CreateDirectoryA((m_root / relative).c_str(), nullptr));
    }
    void File(const std::string& relative, const std::string& sample, int hour) {
        std::string path = m_root / relative;
        ASSERT_TRUE(CopyFileA((kInputs + "\\" + sample).c_str(), path.c_str(), FALSE)) << sample;
        ASSERT_NO_FATAL_FAILURE(SetWriteTime(path, Hours(hour)));
        sources[path] = sample;
    }
    const std::string& Root() const { return m_root.Path(); }
    std::string operator/(const std::string& relative) const { return m_root / relative; }

    std::map<std::string, std::string> sources;

private:
    TestFolder m_root;
};

std::string TimeText(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

// The discs as the tree holds them, found by the standard library's own walk.
std::vector<std::pair<std::string, std::vector<TrackRecord>>> WalkedDiscs(const SampleTree& tree) {
    auto manifest = ReadManifest();
    std::vector<std::pair<fs::file_time_type, std::string>> folders{
        {fs::last_write_time(tree.Root()), tree.Root()}};
    for (const auto& entry : fs::recursive_directory_iterator(tree.Root())) {
        if (entry.is_directory()) {
            folders.emplace_back(entry.last_write_time(), entry.path().string());
        }
    }
    std::sort(folders.begin(), folders.end());
    std::vector<std::pair<std::string, std::vector<TrackRecord>>> discs;
    for (const auto& [time, folder] : folders) {
        std::vector<std::pair<fs::file_time_type, std::string>> files;
        for (const auto& entry : fs::directory_iterator(folder)) {
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
            if (entry.is_regular_file() &&
                (extension == ".mp3" || extension == ".wma" || extension == ".wav")) {
                files.emplace_back(entry.last_write_time(), entry.path().string());
            }
        }
        std::sort(files.begin(), files.end());
        std::string label = folder == tree.Root() ? "Root" : folder.substr(tree.Root().size() + 1);
        std::replace(label.begin(), label.end(), '\\', '-');
        for (size_t first = 0; first < files.size(); first += 100) {
            std::vector<TrackRecord> tracks;
            for (size_t i = first; i < std::min(files.size(), first + 100); ++i) {
                const std::string& path = files[i].second;
                const std::string& sample = tree.sources.at(path);
                Expected expected = manifest.count(sample) != 0 ? manifest.at(sample) : Expected{};
                if (sample == "tone.wav") {
                    std::string name = fs::path(path).stem().string();
                    expected.title = name;
                }
                tracks.push_back({expected.title, expected.artist, expected.album, expected.genre, path,
                                  TimeText(expected.seconds)});
            }
            std::string part = first == 0 ? label : label + "(" + std::to_string(first / 100 + 1) + ")";
            discs.emplace_back(part, tracks);
        }
    }
    return discs;
}

// The scan on a worker, as the dialog runs it; false when it has not ended within a minute.
bool ScanToTheEnd(CMusicFolderSync& sync) {
    if (!sync.Start(nullptr)) {
        return false;
    }
    return WaitFor([&sync] { return !sync.IsRunning(); }, 60000);
}

// Collects the progress the worker posts; cancels once half of the files are done when asked to.
struct ProgressWindow {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SYNC_PROGRESS) {
            last = {wParam, lParam};
            if (cancelHalfway != nullptr && wParam * 2 >= static_cast<WPARAM>(lParam)) {
                cancelHalfway->Cancel();
            }
            return 0;
        }
        if (message == WM_SYNC_DONE) {
            ++doneMessages;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static inline std::pair<WPARAM, LPARAM> last;
    static inline int doneMessages = 0;
    static inline CMusicFolderSync* cancelHalfway = nullptr;
};

} // namespace

// Catches discs, labels, track order, tags or lengths that differ from what the files hold: folder
// grouping, nesting, the extension test, the 100-track limit and the ordering by time.
TEST(MusicFolderSync, AgreesWithAnIndependentWalkOfTheTree) {
    SampleTree tree;
    tree.File("Intro.wav", "tone.wav", 5);
    ASSERT_NO_FATAL_FAILURE(tree.Folder("A"));
    tree.File("A\\second.MP3", "plain.mp3", 3);
    tree.File("A\\first.mp3", "tagged.mp3", 1);
    tree.File("A\\third.wma", "tagged.wma", 4);
    tree.File("A\\fourth.WMA", "plain.wma", 6);
    tree.File("A\\Spoken Word.WAV", "tone.wav", 2);
    tree.File("A\\old.mp3.bak", "plain.mp3", 0);
    ASSERT_NO_FATAL_FAILURE(tree.Folder("A\\B"));
    tree.File("A\\B\\only.mp3", "tagged.mp3", 7);
    ASSERT_NO_FATAL_FAILURE(tree.Folder("Empty"));
    ASSERT_NO_FATAL_FAILURE(tree.Folder("Empty\\Deeper"));
    ASSERT_NO_FATAL_FAILURE(tree.Folder("Many"));
    for (int i = 0; i < 150; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Many\\t%03d.mp3", 149 - i);
        tree.File(name, i % 2 == 0 ? "plain.mp3" : "tagged.mp3", 10 + i);
    }
    // Folder times last: every file written into a folder moves its time.
    int hour = 400;
    for (const char* folder : {"A\\B", "Many", "", "A", "Empty\\Deeper", "Empty"}) {
        ASSERT_NO_FATAL_FAILURE(SetWriteTime(tree / folder, Hours(hour++)));
    }

    CMusicFolderSync sync(tree.Root() + "\\");
    ASSERT_TRUE(ScanToTheEnd(sync));
    auto walked = WalkedDiscs(tree);
    DiscCatalogue& result = sync.Result();
    ASSERT_EQ(result.GetCount(), walked.size());
    for (size_t d = 0; d < walked.size(); ++d) {
        const DiscRecord& disc = *result.GetDisc(d);
        const auto& [label, tracks] = walked[d];
        EXPECT_EQ(disc.GetLabel(), label);
        EXPECT_EQ(disc.GetFolder(), fs::path(tracks.front().path).parent_path().string());
        ASSERT_EQ(disc.GetTrackCount(), tracks.size()) << label;
        for (size_t t = 0; t < tracks.size(); ++t) {
            TrackRecord track;
            ASSERT_TRUE(disc.GetTrack(t, track));
            const TrackRecord& expected = tracks[t];
            EXPECT_EQ(track.path, expected.path);
            EXPECT_EQ(track.title, expected.title) << expected.path;
            EXPECT_EQ(track.artist, expected.artist) << expected.path;
            EXPECT_EQ(track.album, expected.album) << expected.path;
            EXPECT_EQ(track.genre, expected.genre) << expected.path;
            EXPECT_EQ(track.time, expected.time) << expected.path;
        }
    }
}

// Catches a cancelled scan that still hands its discs over, or that runs on to its end.
TEST(MusicFolderSync, CancelHalfwayLeavesTheCallersCatalogueAsItWas) {
    SampleTree tree;
    ASSERT_NO_FATAL_FAILURE(tree.Folder("Many"));
    for (int i = 0; i < 120; ++i) {
        tree.File("Many\\t" + std::to_string(i) + ".mp3", "plain.mp3", i);
    }
    DiscCatalogue callers;
    callers.AddDisc(MakeDisc("Kept", tree / "Kept"));

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ProgressWindow::Proc;
    windowClass.lpszClassName = "QvlSyncProgress";
    RegisterClassA(&windowClass);
    HWND window =
        CreateWindowA("QvlSyncProgress", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    CMusicFolderSync sync(tree.Root());
    ProgressWindow::cancelHalfway = &sync;
    ProgressWindow::doneMessages = 0;
    ASSERT_TRUE(sync.Start(window));
    sync.WaitWhileDispatching();
    DispatchPendingMessages();
    ProgressWindow::cancelHalfway = nullptr;
    DestroyWindow(window);

    EXPECT_EQ(ProgressWindow::doneMessages, 1);
    EXPECT_LT(ProgressWindow::last.first, 120u) << "the scan stopped before its end";
    EXPECT_TRUE(sync.IsCancelled());
    EXPECT_EQ(sync.Result().GetCount(), 0u) << "the discs made so far are dropped";
    EXPECT_FALSE(sync.HandOver(callers));
    ASSERT_EQ(callers.GetCount(), 1u);
    EXPECT_EQ(callers.GetDisc(0)->GetLabel(), "Kept");
}

// Catches a damaged MP3 file that crashes or hangs the scan, or that brings in tags or a length
// it does not have.
TEST(MusicFolderSync, ADamagedMp3FileGivesAnEmptyTrack) {
    SampleTree tree;
    tree.File("damaged_tag.mp3", "damaged_tag.mp3", 1);
    tree.File("noise.mp3", "noise.mp3", 2);
    CMusicFolderSync sync(tree.Root());
    ASSERT_TRUE(ScanToTheEnd(sync));
    ASSERT_EQ(sync.Result().GetCount(), 1u);
    const DiscRecord& disc = *sync.Result().GetDisc(0);
    ASSERT_EQ(disc.GetTrackCount(), 2u);
    for (size_t t = 0; t < 2; ++t) {
        TrackRecord track;
        ASSERT_TRUE(disc.GetTrack(t, track));
        EXPECT_EQ(track.title + track.artist + track.album + track.genre, "") << track.path;
        EXPECT_EQ(track.time, "0:00") << track.path;
    }
}

// Catches a label taken from the wrong part of the path (case, trailing backslash, the root
// itself) and the hour boundary of the time text.
TEST(MusicFolderSync, LabelsAndTimeTexts) {
    EXPECT_EQ(SyncDiscLabel("C:\\Music", "C:\\Music"), "Root");
    EXPECT_EQ(SyncDiscLabel("C:\\MUSIC\\A\\B", "c:\\music\\"), "A-B");
    EXPECT_EQ(SyncDiscLabel("C:\\", "C:\\"), "Root");
    EXPECT_EQ(SyncDiscLabel("C:\\Music", "D:\\Other"), "Root");
    EXPECT_EQ(TrackTimeText(3599), "59:59");
    EXPECT_EQ(TrackTimeText(3600), "1:00:00");
}
