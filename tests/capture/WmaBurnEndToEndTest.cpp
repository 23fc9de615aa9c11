// A burn into the running program with WMA chosen in its project file: tagged WMA files through the
// WMA library, left in QVL_TEST_OUTPUT for check_wma_burn.py (Debian's ffmpeg and mutagen); and
// the same burn with the library gone: MP3 files, while the file keeps the user's choice.
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "tests/support/SampleDiscTexts.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <optional>

using namespace qvltest;

namespace {

constexpr DWORD kTimeout = 60000;

class WmaBurnEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (FileExists(m_project)) {
            m_savedProject = ReadFile(m_project);
        }
        // A fresh prefix has no data folder until the program first runs.
        CreateFolderTree(DataFolder());
        WriteFile(m_project,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<quaverlane_project disc_count=\"0\" "
                  "first_run=\"0\"><options codec=\"wma\"/></quaverlane_project>\n");
        DeleteFolderTree(m_album);
    }
    void TearDown() override {
        if (m_savedProject) {
            WriteFile(m_project, *m_savedProject);
        } else {
            DeleteFileA(m_project.c_str());
        }
        DeleteFolderTree(m_album);
    }
    // Starts the program, burns the sample disc into it and waits until every track is converted
    // into a file with the extension; then exits it as a user would.
    void BurnInto(const char* extension) {
        ChildProcess program(BinFolder() + "\\Quaverlane.exe", "");
        HWND window = AppControl::WaitForMainWindow(program.Id(), kTimeout);
        ASSERT_NE(window, nullptr);
        ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max --sample-seconds 4");
        ASSERT_EQ(recorder.Wait(kTimeout), 0u);
        EXPECT_TRUE(
            WaitFor([&] { return CountFiles(m_album, std::string("*.") + extension) == 3; }, kTimeout));
        ASSERT_TRUE(AppControl::RequestExit(window, kTimeout));
        EXPECT_EQ(program.Wait(kTimeout), 0u);
    }
    bool ProjectKeepsWma() const { return ReadFile(m_project).find("codec=\"wma\"") != std::string::npos; }

    std::string m_project = ProjectFilePath();
    std::string m_album = JoinPath(DefaultOutputFolder(), kSampleAlbum);
    std::optional<std::string> m_savedProject;
    TestFolder m_root;
    RegistryValue m_captureFolder{HKEY_LOCAL_MACHINE, "Software\\Quaverlane", "TempFolder",
                                  m_root / "capture"};
};

} // namespace

TEST_F(WmaBurnEndToEnd, ABurnBecomesTaggedWmaFilesAndWithoutTheLibraryMp3sWhileTheChoiceStays) {
    std::string kept = TestOutputFolder();
    ASSERT_FALSE(kept.empty()) << "QVL_TEST_OUTPUT names the folder for the independent check";
    ASSERT_NO_FATAL_FAILURE(BurnInto("WMA"));
    for (int i = 0; i < 3; ++i) {
        std::string wma = m_album + "\\" + kSampleTitles[i] + ".WMA";
        EXPECT_TRUE(
            CopyFileA(wma.c_str(), (kept + "\\track-" + std::to_string(i + 1) + ".wma").c_str(), FALSE))
            << wma;
    }
    EXPECT_TRUE(ProjectKeepsWma());

    FileAway library(BinFolder() + "\\WmaEncodeCore.dll");
    ASSERT_NO_FATAL_FAILURE(BurnInto("MP3"));
    EXPECT_EQ(CountFiles(m_album, "*.WMA"), 3u);
    EXPECT_TRUE(ProjectKeepsWma()) << "the user's choice outlives a start without the library";
}
