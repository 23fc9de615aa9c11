// The real program started under Wine, driven from outside as a user or Windows would drive it.
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "res/ids/ManagerIds.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace qvltest;

namespace {

constexpr DWORD kTimeout = 30000;
constexpr char kProgramKey[] = "Software\\Quaverlane";

// The log lines written since the last start-up report began (the log can be wiped together
// with the default capture folder, so counting lines from before the start is not enough).
std::vector<std::string> LinesOfLastStart() {
    std::vector<std::string> lines = ReadLogLines(LogFilePath());
    auto start = std::find(lines.rbegin(), lines.rend(), "Software Information:");
    if (start == lines.rend()) {
        return {};
    }
    return std::vector<std::string>(start.base() - 1, lines.end());
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class Lifecycle : public ::testing::Test {
protected:
    std::string Exe() const { return BinFolder() + "\\Quaverlane.exe"; }

    // Exits the copy through its menu command and its confirmation; returns its exit code.
    std::optional<DWORD> ExitThroughMenu(ChildProcess& copy) {
        HWND window = AppControl::FindMainWindow(copy.Id());
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(AppControl::RequestExit(window, kTimeout));
        return copy.Wait(kTimeout);
    }

    TestFolder m_root;
    std::string m_capture = m_root / "capture";
    RegistryValue m_tempFolder{HKEY_LOCAL_MACHINE, kProgramKey, "TempFolder", m_capture};
};

} // namespace

TEST_F(Lifecycle, StartsWithItsFoldersAndReportAndExitsCleanly) {
    CreateFolderTree(m_capture + "\\old burn");
    WriteFile(m_capture + "\\old burn\\01.wav", "RIFF left over");
    size_t linesBefore = ReadLogLines(LogFilePath()).size();

    ChildProcess copy(Exe(), "");
    ASSERT_TRUE(copy.Started());
    HWND window = AppControl::WaitForMainWindow(copy.Id(), kTimeout);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }, kTimeout))
        << "a normal start shows the window";
    RECT place;
    GetWindowRect(window, &place);
    EXPECT_GE(place.right - place.left, 960);
    EXPECT_GE(place.bottom - place.top, 660);

    EXPECT_FALSE(FolderExists(m_capture + "\\old burn")) << "leftovers of earlier burns are wiped";
    EXPECT_TRUE(FolderExists(m_capture)) << "the registry's capture folder is created again";
    EXPECT_TRUE(FolderExists(DataFolder()));

    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(GetVersionExA(&version));
#pragma GCC diagnostic pop
    std::vector<std::string> expected = {
        "Software Information:",
        "\tProgram Name: Quaverlane",
        "Windows Version Information:",
        "\tMajor Version = " + std::to_string(version.dwMajorVersion),
        "\tMinor Version = " + std::to_string(version.dwMinorVersion),
        "\tBuild Number = " + std::to_string(version.dwBuildNumber),
        "\tPlatform Id = 2",
        std::string("\tVersion  = ") + version.szCSDVersion,
        "\tWIN NT or XP",
        "iTunes Version Information:",
        "\tCan not find iTunes.exe",
        "Windows Media Player Version Information:",
    };
    std::vector<std::string> report = LinesOfLastStart();
    ASSERT_GE(report.size(), expected.size() + 3);
    EXPECT_EQ(std::vector<std::string>(report.begin(), report.begin() + expected.size()), expected);
    // Wine ships a wmplayer.exe with a version block.
    EXPECT_EQ(report[expected.size()].rfind("\tFile Version: ", 0), 0u) << report[expected.size()];
    EXPECT_EQ(report[expected.size() + 1].rfind("\tProduct Version:", 0), 0u);
    EXPECT_EQ(report[expected.size() + 2], "Temporary Folder: " + m_capture);

    EXPECT_EQ(ExitThroughMenu(copy), 0u);
    std::vector<std::string> lines = ReadLogLines(LogFilePath());
    EXPECT_GT(lines.size(), linesBefore);
    EXPECT_EQ(lines.back(), "Program ExitInstance.");
    EXPECT_FALSE(FolderExists(m_capture)) << "the capture folder is wiped at exit";
}

TEST_F(Lifecycle, SecondCopyLeavesTheRunningCopysCaptureAloneAndBringsItForward) {
    // Started as the log-on entry starts it: in the tray only.
    ChildProcess first(Exe(), "-SiLence");
    HWND window = AppControl::WaitForMainWindow(first.Id(), kTimeout);
    ASSERT_NE(window, nullptr);
    Sleep(500);
    EXPECT_FALSE(IsWindowVisible(window)) << "a start with the silence switch shows no window";
    // A burn in progress in the running copy's capture folder.
    CreateFolderTree(m_capture + "\\burn");
    WriteFile(m_capture + "\\burn\\01.wav", "RIFF being written");

    ChildProcess second(Exe(), "");
    EXPECT_EQ(second.Wait(kTimeout), 1u) << "the second copy ends by itself";
    EXPECT_TRUE(FileExists(m_capture + "\\burn\\01.wav")) << "neither its start nor its exit wiped the burn";
    EXPECT_TRUE(IsWindowVisible(window)) << "the running copy's window was brought forward";
    EXPECT_FALSE(first.Wait(0).has_value()) << "the running copy goes on";

    std::vector<std::string> lines = LinesOfLastStart();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Software Information:"), 1)
        << "the second copy writes no report";
    EXPECT_TRUE(Contains(lines, "Previous instance detected, will now restore it."));
    EXPECT_TRUE(Contains(lines, "New instance exit."));
    EXPECT_EQ(lines.back(), "Program ExitInstance.");

    EXPECT_EQ(ExitThroughMenu(first), 0u);
    EXPECT_FALSE(FolderExists(m_capture)) << "the running copy still wipes its own folder at exit";
}

TEST_F(Lifecycle, TheHelpCommandOpensTheHelpFile) {
    ASSERT_TRUE(FileExists(BinFolder() + "\\Help\\lang_eng.chm"))
        << "the help files are built beside the program";
    ChildProcess copy(Exe(), "");
    HWND window = AppControl::WaitForMainWindow(copy.Id(), kTimeout);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(AppControl::PostCommand(window, ID_HELP_TOPIC));
    // The viewer runs inside the program and takes the help file's title.
    EXPECT_TRUE(WaitFor([&] { return AppControl::FindWindowTitled(copy.Id(), "Quaverlane Help") != nullptr; },
                        kTimeout));
    EXPECT_EQ(ExitThroughMenu(copy), 0u);
}

TEST_F(Lifecycle, EndingTheSessionShutsTheProgramDownInOrder) {
    ChildProcess copy(Exe(), "");
    HWND window = AppControl::WaitForMainWindow(copy.Id(), kTimeout);
    ASSERT_NE(window, nullptr);
    WriteFile(m_capture + "\\02.wav", "RIFF");

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, kTimeout, &answer));
    EXPECT_EQ(answer, TRUE) << "the program lets the session end";
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, kTimeout, &answer);
    EXPECT_EQ(copy.Wait(kTimeout), 0u);
    EXPECT_EQ(ReadLogLines(LogFilePath()).back(), "Program ExitInstance.");
    EXPECT_FALSE(FolderExists(m_capture));
}

TEST_F(Lifecycle, AStartThatCannotCreateItsWindowSaysWhyAndEndsWithAnError) {
    // A copy of the program beside the real one whose main window's template names a window
    // class nobody registered.
    std::string broken = BinFolder() + "\\QuaverlaneWithoutWindow.exe";
    ASSERT_TRUE(CopyFileA(Exe().c_str(), broken.c_str(), FALSE));
    WORD language = 0;
    {
        HMODULE image = LoadLibraryExA(Exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(image, nullptr);
        EnumResourceLanguagesA(
            image, RT_DIALOG, MAKEINTRESOURCEA(IDD_MANAGER),
            [](HMODULE, LPCSTR, LPCSTR, WORD found, LONG_PTR into) {
                *reinterpret_cast<WORD*>(into) = found;
                return FALSE;
            },
            reinterpret_cast<LONG_PTR>(&language));
        FreeLibrary(image);
    }
    // Style, extended style, no items, position and size, no menu; then the class and no title.
    std::vector<WORD> dialog = {LOWORD(WS_POPUP), HIWORD(WS_POPUP), 0, 0, 0, 0, 0, 0, 0, 0};
    for (const char* c = "NoSuchWindowClass";; ++c) {
        dialog.push_back(static_cast<WORD>(*c));
        if (*c == '\0') {
            break;
        }
    }
    dialog.push_back(0);
    HANDLE update = BeginUpdateResourceA(broken.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_MANAGER), language, dialog.data(),
                                static_cast<DWORD>(dialog.size() * sizeof(WORD))));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

    {
        ChildProcess copy(broken, "");
        EXPECT_TRUE(AppControl::AnswerMessageBox(copy.Id(), "cannot create its main window", IDOK, kTimeout))
            << "the user is told";
        EXPECT_EQ(copy.Wait(kTimeout), 1u);
    }
    std::vector<std::string> log = ReadLogLines(LogFilePath());
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.rfind("Cannot create the main window", 0) == 0;
    })) << "the log says why";
    DeleteFileA(broken.c_str());
}

TEST_F(Lifecycle, TheProjectFileIsReadAtStartAndWrittenAtExitByTheRunningCopyOnly) {
    std::string project = ProjectFilePath();
    std::optional<std::string> before;
    if (FileExists(project)) {
        before = ReadFile(project);
    }
    CreateFolderTree(m_root / "Mix");
    WriteFile(m_root / "Mix\\01.mp3", "audio");
    CreateFolderTree(DataFolder());
    WriteFile(project, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                       "<quaverlane_project disc_count=\"1\" first_run=\"0\">\n"
                       "    <options codec=\"wav\" FilenameFormat=\"\"/>\n"
                       "    <disc_data id=\"0\" track_count=\"1\" disc_label=\"Mix\" path=\"" +
                           m_root / "Mix" +
                           "\">\n"
                           "        <track_data id=\"0\" title=\"One\">" +
                           m_root / "Mix\\01.mp3" +
                           "</track_data>\n"
                           "    </disc_data>\n"
                           "</quaverlane_project>\n");

    ChildProcess first(Exe(), "");
    ASSERT_NE(AppControl::WaitForMainWindow(first.Id(), kTimeout), nullptr);
    std::string loaded = ReadFile(project);
    ChildProcess second(Exe(), "");
    EXPECT_EQ(second.Wait(kTimeout), 1u);
    EXPECT_EQ(ReadFile(project), loaded) << "a copy that ended at the single-instance check saves nothing";
    EXPECT_EQ(ExitThroughMenu(first), 0u);

    std::string saved = ReadFile(project);
    for (const std::string& part :
         {std::string("first_run=\"0\""), std::string("<options codec=\"wav\""),
          std::string("FilenameFormat=\"&lt;Playlist&gt;\\&lt;Title&gt;\""),
          "<temp_folder path=\"" + m_capture + "\"/>",
          "<disc_data id=\"0\" track_count=\"1\" disc_label=\"Mix\" path=\"" + m_root / "Mix" + "\">",
          "<track_data id=\"0\" title=\"One\" artist=\"\" album=\"\" genre=\"\" time=\"\">" +
              m_root / "Mix\\01.mp3" + "</track_data>"}) {
        EXPECT_NE(saved.find(part), std::string::npos) << part << "\nnot in\n" << saved;
    }
    if (before) {
        WriteFile(project, *before);
    } else {
        DeleteFileA(project.c_str());
    }
}
