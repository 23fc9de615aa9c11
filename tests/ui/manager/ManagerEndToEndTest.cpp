// The manager window of the real program, driven from outside as a user drives it: what it lists
// after a burn, what its catalogue commands leave on disk and in the project file, and what its
// player sends to the sound device.
#include "app/Messages.h"
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "finish/Id3Tag.h"
#include "res/ids/FileInfoIds.h"
#include "res/ids/ManagerIds.h"
#include "res/ids/OptionsIds.h"
#include "res/ids/PlayerIds.h"
#include "res/ids/TrayIds.h"
#include "tests/player/DecoderTestSupport.h"
#include "tests/player/EngineTestSupport.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/SampleDiscTexts.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace qvltest;

namespace {

constexpr DWORD kTimeout = 30000;
constexpr int kColumns = 7;

class ManagerEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (FileExists(ProjectFilePath())) {
            m_savedProject = ReadFile(ProjectFilePath());
        }
        DeleteFolderTree(m_album);
    }
    void TearDown() override {
        Exit();
        if (m_savedProject) {
            WriteFile(ProjectFilePath(), *m_savedProject);
        } else {
            DeleteFileA(ProjectFilePath().c_str());
        }
        DeleteFolderTree(m_album);
    }

    HWND Start() {
        m_program = std::make_unique<ChildProcess>(BinFolder() + "\\Quaverlane.exe", "");
        m_window = AppControl::WaitForMainWindow(m_program->Id(), kTimeout);
        return m_window;
    }
    // Exit from the tray menu, answering its question.
    void Exit() {
        if (m_program && AppControl::FindMainWindow(m_program->Id()) != nullptr) {
            ASSERT_TRUE(AppControl::PostCommand(m_window, ID_TRAY_EXIT));
            ASSERT_TRUE(AppControl::AnswerMessageBox(m_program->Id(), "exit", IDYES, kTimeout));
            EXPECT_EQ(m_program->Wait(kTimeout), 0u);
        }
        m_program.reset();
    }
    HWND Discs() const { return GetDlgItem(m_window, IDC_MANAGER_DISC_LIST); }
    HWND Music() const { return GetDlgItem(m_window, IDC_MANAGER_MUSIC_LIST); }
    std::vector<std::vector<std::string>> Rows() const { return AppControl::ListViewRows(Music(), kColumns); }
    bool RowsBecome(size_t count) const {
        return WaitFor([&] { return Rows().size() == count; }, kTimeout);
    }
    // Sends a command and answers the question it asks.
    void CommandAnswered(UINT command, const std::string& question, int button) {
        ASSERT_TRUE(AppControl::PostCommand(m_window, command));
        ASSERT_TRUE(AppControl::AnswerMessageBox(m_program->Id(), question, button, kTimeout)) << question;
    }
    // Renames the selected disc in place, as typing a label and pressing Enter does.
    void Rename(const std::string& label) {
        ASSERT_TRUE(AppControl::PostCommand(m_window, ID_DISC_RENAME));
        HWND editor = nullptr;
        ASSERT_TRUE(WaitFor(
            [&] { return (editor = GetDlgItem(m_window, IDC_MANAGER_LABEL_EDIT)) != nullptr; }, kTimeout));
        SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(label.c_str()));
        PostMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_TRUE(
            WaitFor([&] { return GetDlgItem(m_window, IDC_MANAGER_LABEL_EDIT) == nullptr; }, kTimeout));
    }
    // A project file of two discs, each a folder with two music files of its own.
    void WriteTwoDiscs() {
        std::string project = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                              "<quaverlane_project disc_count=\"2\" first_run=\"0\">\n";
        const char* labels[] = {"Mix", "Road"};
        for (int disc = 0; disc < 2; ++disc) {
            const std::string folder = m_album + "\\" + labels[disc];
            CreateFolderTree(folder);
            project += "<disc_data id=\"" + std::to_string(disc) + "\" track_count=\"2\" disc_label=\"" +
                       labels[disc] + "\" path=\"" + folder + "\">\n";
            for (int track = 0; track < 2; ++track) {
                const std::string file = folder + "\\" + labels[disc] + std::to_string(track + 1) + ".mp3";
                WriteFile(file, "not really audio");
                project += "<track_data id=\"" + std::to_string(track) + "\" title=\"" + labels[disc] +
                           std::to_string(track + 1) +
                           "\" artist=\"A\" album=\"B\" genre=\"Jazz\" time=\"00:04\">" + file +
                           "</track_data>\n";
            }
            project += "</disc_data>\n";
        }
        CreateFolderTree(DataFolder());
        WriteFile(ProjectFilePath(), project + "</quaverlane_project>\n");
    }

    std::optional<std::string> m_savedProject;
    TestFolder m_root;
    std::string m_capture = m_root / "capture";
    std::string m_album = JoinPath(DefaultOutputFolder(), kSampleAlbum);
    RegistryValue m_tempFolder{HKEY_LOCAL_MACHINE, "Software\\Quaverlane", "TempFolder", m_capture};
    std::unique_ptr<ChildProcess> m_program;
    HWND m_window = nullptr;
};

} // namespace

// Catches encoded tracks that never reach the catalogue, a list that misses a column, a project
// file that loses them (or the window's place) at exit, and a start that does not list them again.
TEST_F(ManagerEndToEnd, ABurnIsListedKeptAtExitAndListedAgainAfterARestart) {
    DeleteFileA(ProjectFilePath().c_str());
    ASSERT_NE(Start(), nullptr);
    ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max --sample-seconds 2");
    ASSERT_EQ(recorder.Wait(kTimeout), 0u);
    ASSERT_TRUE(RowsBecome(3)) << "the burn's three tracks are listed";
    std::vector<std::vector<std::string>> rows = Rows();
    for (int i = 0; i < 3; ++i) {
        const std::vector<std::string>& row = rows[i];
        EXPECT_EQ(row[0], std::to_string(i + 1));
        EXPECT_EQ(row[1], kSampleTitles[i]);
        EXPECT_EQ(row[2], "0:02");
        EXPECT_EQ(row[3], kSampleArtists[i]);
        EXPECT_EQ(_stricmp(row[6].c_str(), (m_album + "\\" + kSampleTitles[i] + ".MP3").c_str()), 0)
            << row[6];
        // The list says what the file it names carries.
        TrackTags tags;
        ASSERT_TRUE(ReadId3Tag(row[6].c_str(), ID3TT_ID3V2, tags)) << row[6];
        EXPECT_EQ(row[4], tags.album);
        EXPECT_EQ(row[5], tags.genre);
        EXPECT_FALSE(row[5].empty()) << "the sample disc's CD-TEXT names a genre";
    }
    std::vector<std::string> discs = AppControl::ListBoxItems(Discs());
    ASSERT_EQ(discs.size(), 1u);
    ASSERT_TRUE(SetWindowPos(m_window, nullptr, 40, 30, 1000, 700, SWP_NOZORDER | SWP_NOACTIVATE));
    Exit();

    const std::string saved = ReadFile(ProjectFilePath());
    for (const char* title : kSampleTitles) {
        EXPECT_NE(saved.find(std::string("title=\"") + title + "\""), std::string::npos) << title << "\n"
                                                                                         << saved;
    }
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(RowsBecome(3)) << "listed again after a restart";
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(AppControl::ListBoxItems(Discs()), discs);
    RECT place;
    GetWindowRect(m_window, &place);
    EXPECT_EQ(place.left, 40);
    EXPECT_EQ(place.top, 30);
    EXPECT_EQ(place.right - place.left, 1000) << "the window comes back where the user left it";
    EXPECT_EQ(place.bottom - place.top, 700);
}

// Catches a rename that takes a label another disc has, a rename or delete that changes the list
// but not the disk or the project file (or the other way round), and a reload that loses them.
TEST_F(ManagerEndToEnd, RenameDeleteAndReloadLeaveListDiskAndProjectFileInAgreement) {
    WriteTwoDiscs();
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return AppControl::ListBoxItems(Discs()).size() == 2; }, kTimeout));
    ASSERT_TRUE(AppControl::SelectListBoxItem(Discs(), 0));
    ASSERT_TRUE(RowsBecome(2));

    ASSERT_NO_FATAL_FAILURE(Rename("ROAD"));
    ASSERT_TRUE(
        AppControl::AnswerMessageBox(m_program->Id(), "The lable 'ROAD' has already existed", IDOK, kTimeout))
        << "a label another disc has is refused";
    EXPECT_EQ(AppControl::ListBoxItems(Discs()), (std::vector<std::string>{"Mix", "Road"}));
    EXPECT_TRUE(FolderExists(m_album + "\\Mix"));

    ASSERT_NO_FATAL_FAILURE(Rename("Mix Two"));
    ASSERT_TRUE(WaitFor([&] { return AppControl::ListBoxItems(Discs())[0] == "Mix Two"; }, kTimeout));
    EXPECT_TRUE(FolderExists(m_album + "\\Mix Two"));
    EXPECT_FALSE(FolderExists(m_album + "\\Mix"));
    ASSERT_TRUE(RowsBecome(2));
    EXPECT_TRUE(FileExists(Rows()[0][6])) << Rows()[0][6];

    ASSERT_TRUE(AppControl::SelectListViewRow(Music(), 0));
    const std::string deleted = Rows()[0][6];
    ASSERT_NO_FATAL_FAILURE(CommandAnswered(ID_MUSIC_DELETE, "music file?", IDYES));
    ASSERT_TRUE(RowsBecome(1));
    EXPECT_FALSE(FileExists(deleted));

    ASSERT_TRUE(AppControl::SelectListBoxItem(Discs(), 1));
    ASSERT_NO_FATAL_FAILURE(CommandAnswered(ID_DISC_DELETE, "'Road' disc?", IDYES));
    ASSERT_TRUE(WaitFor([&] { return AppControl::ListBoxItems(Discs()).size() == 1; }, kTimeout));
    EXPECT_FALSE(FolderExists(m_album + "\\Road"));

    ASSERT_TRUE(AppControl::PostCommand(m_window, ID_REFRESH_DISC_LIST));
    ASSERT_TRUE(RowsBecome(1));
    EXPECT_EQ(AppControl::ListBoxItems(Discs()), std::vector<std::string>{"Mix Two"});
    Exit();
    const std::string saved = ReadFile(ProjectFilePath());
    EXPECT_NE(saved.find("disc_label=\"Mix Two\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Road"), std::string::npos) << saved;
    EXPECT_EQ(saved.find(deleted), std::string::npos) << saved;
}

// Catches a player that plays nothing, or something else than the chosen file, and a bar that is
// not shown while it plays or not taken away by a stop.
TEST_F(ManagerEndToEnd, AConvertedFileIsHeardWhileThePlayerBarShowsAndAStopBringsTheTipsBack) {
    if (CapturePath().empty()) {
        GTEST_SKIP() << "QVL_AUDIO_CAPTURE is not set: playing needs the ALSA capture";
    }
    // The sample disc burnt into the program, and once more into a folder of the test's own: its
    // second track as the recorder wrote it is what the converted file must sound like.
    DeleteFileA(ProjectFilePath().c_str());
    ASSERT_NE(Start(), nullptr);
    const char* kBurn = "--speed max --sample-seconds 4";
    ChildProcess recorder(BinFolder() + "\\recsim.exe", kBurn);
    ASSERT_EQ(recorder.Wait(kTimeout), 0u);
    const std::string reference = m_root / "reference";
    CreateFolderTree(reference);
    ChildProcess again(BinFolder() + "\\recsim.exe", std::string(kBurn) + " --capture \"" + reference + "\"");
    ASSERT_EQ(again.Wait(kTimeout), 0u);
    const std::string wav = ReadFile(reference + "\\00000001\\Track01.wav");
    const size_t data = wav.find("data");
    ASSERT_NE(data, std::string::npos);
    const std::vector<uint8_t> pcm(wav.begin() + static_cast<long>(data) + 8, wav.end());
    ASSERT_TRUE(RowsBecome(3));
    ASSERT_TRUE(AppControl::SelectListViewRow(Music(), 1));
    HWND tips = GetDlgItem(m_window, IDC_MANAGER_TIPS);
    HWND bar = nullptr;
    for (HWND child = GetWindow(m_window, GW_CHILD); child != nullptr && bar == nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        bar = GetDlgItem(child, IDC_PLAYER_TIME) != nullptr ? child : nullptr;
    }
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(IsWindowVisible(tips));
    EXPECT_FALSE(IsWindowVisible(bar));

    ClearCapture();
    ASSERT_TRUE(AppControl::PostCommand(m_window, ID_PLAY_SELECTED));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(tips) && IsWindowVisible(bar); }, kTimeout))
        << "the bar takes the tips' place";
    std::vector<int16_t> heard = CaptureSamples(1000, 60000);
    std::vector<int16_t> captured = ToSamples(pcm);
    heard = From(heard, FirstSound(heard));
    captured = From(captured, FirstSound(captured));
    ASSERT_GT(heard.size(), captured.size() / 2);
    // The encoder's delay and the decoder's differ by some hundred samples.
    const int lag = BestLag(heard, captured, 4096);
    EXPECT_GT(Correlation(heard, captured, lag), 0.95) << "at lag " << lag;
    // The file has ended: the tips come back as after a stop.
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(tips) != FALSE; }, kTimeout));

    ASSERT_TRUE(AppControl::PostCommand(m_window, ID_PLAY_SELECTED));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(tips); }, kTimeout));
    PostMessageA(m_window, WM_STOP_PLAYBACK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(tips) && !IsWindowVisible(bar); }, kTimeout))
        << "a stop brings the tips back";
}

// Catches a synchronisation that the window does not show, or that lists other than what lies in
// the music folder: every folder with music a disc, every music file a track with its length.
TEST_F(ManagerEndToEnd, SynchronisingListsWhatTheMusicFolderHolds) {
    const std::string music = m_root / "music";
    CreateFolderTree(music + "\\Alpha");
    CreateFolderTree(music + "\\Beta\\Empty");
    const std::string mp3 = ReadFile(DecoderInput("layer3.mp3"));
    ASSERT_FALSE(mp3.empty());
    WriteFile(music + "\\Alpha\\one.mp3", mp3);
    WriteFile(music + "\\Alpha\\two.mp3", mp3);
    WriteFile(music + "\\Alpha\\notes.txt", "not music");
    WriteFile(music + "\\Beta\\three.wav", WavBytes(TestPcm(44100 * 4 * 3)));
    CreateFolderTree(DataFolder());
    WriteFile(ProjectFilePath(), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                                 "<quaverlane_project disc_count=\"0\" first_run=\"0\">\n"
                                 "<options codec=\"mp3\"><output_folder path=\"" +
                                     music + "\"/></options>\n</quaverlane_project>\n");
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(AppControl::PostCommand(m_window, ID_SYNC_MUSIC_FOLDER));
    ASSERT_TRUE(WaitFor([&] { return AppControl::ListBoxItems(Discs()).size() == 2; }, kTimeout));
    // The discs come in the order of their folders' times: each is looked at by what it holds.
    std::vector<std::vector<std::string>> alpha;
    std::vector<std::vector<std::string>> beta;
    std::vector<std::vector<std::string>> shown;
    for (int disc = 0; disc < 2; ++disc) {
        ASSERT_TRUE(AppControl::SelectListBoxItem(Discs(), disc));
        const auto before = shown;
        ASSERT_TRUE(WaitFor([&] { return !(shown = Rows()).empty() && shown != before; }, kTimeout));
        (shown.size() == 2 ? alpha : beta) = shown;
    }
    ASSERT_EQ(alpha.size(), 2u);
    ASSERT_EQ(beta.size(), 1u);
    for (const std::vector<std::string>& row : alpha) {
        EXPECT_EQ(row[2], "0:04") << row[6];
        EXPECT_EQ(row[6].rfind(music + "\\Alpha\\", 0), 0u) << row[6];
    }
    EXPECT_EQ(beta[0][2], "0:03");
    EXPECT_EQ(beta[0][6], music + "\\Beta\\three.wav");
    Exit();
    const std::string saved = ReadFile(ProjectFilePath());
    EXPECT_NE(saved.find("disc_count=\"2\""), std::string::npos) << saved;
}

// Catches tags edited through the manager that reach the file but not the list or the project file
// (or the other way round).
TEST_F(ManagerEndToEnd, TagsEditedFromTheListReachTheFileTheListAndTheProjectFile) {
    DeleteFileA(ProjectFilePath().c_str());
    ASSERT_NE(Start(), nullptr);
    ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max --sample-seconds 2");
    ASSERT_TRUE(recorder.Started());
    ASSERT_EQ(recorder.Wait(kTimeout), 0u);
    ASSERT_TRUE(RowsBecome(3));
    ASSERT_TRUE(AppControl::SelectListViewRow(Music(), 1));
    const std::string file = Rows()[1][6];
    ASSERT_TRUE(AppControl::PostCommand(m_window, ID_EDIT_TAGS));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (dialog = AppControl::FindWindowTitled(m_program->Id(), "File Info")) != nullptr; },
        kTimeout));
    // The pages are children of the dialog, the hidden ones too.
    HWND title = nullptr;
    for (HWND page = GetWindow(dialog, GW_CHILD); page != nullptr && title == nullptr;
         page = GetWindow(page, GW_HWNDNEXT)) {
        title = GetDlgItem(page, IDC_ID3V2_TITLE);
    }
    ASSERT_NE(title, nullptr);
    SendMessageA(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Lanterns, Edited"));
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return Rows().size() == 3 && Rows()[1][1] == "Lanterns, Edited"; }, kTimeout))
        << "the list shows the new title";
    TrackTags tags;
    ASSERT_TRUE(ReadId3Tag(file.c_str(), ID3TT_ID3V2, tags));
    EXPECT_EQ(tags.title, "Lanterns, Edited");
    Exit();
    EXPECT_NE(ReadFile(ProjectFilePath()).find("title=\"Lanterns, Edited\""), std::string::npos);
}

// Catches options that reach the settings but not the conversion (the next burn still MP3 at the
// old place and rate), or that the project file does not keep.
TEST_F(ManagerEndToEnd, TheNextBurnFollowsTheOptionsChosenAndTheProjectFileKeepsThem) {
    DeleteFileA(ProjectFilePath().c_str());
    ASSERT_NE(Start(), nullptr);
    // The toolbar's "Program options" button.
    PostMessageA(m_window, WM_PANEL_ACTION, 2, 0);
    HWND options = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (options = AppControl::FindWindowTitled(m_program->Id(), "Options")) != nullptr; },
        kTimeout));
    // Another output folder, WMA, and its last (lowest) format: 48 kbps instead of 192.
    const std::string output = m_root / "out";
    SendMessageA(GetDlgItem(options, IDC_OPTIONS_OUTPUT_FOLDER), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(output.c_str()));
    SendMessageA(GetDlgItem(options, IDC_OPTIONS_WMA), BM_CLICK, 0, 0);
    HWND formats = GetDlgItem(options, IDC_OPTIONS_WMA_FORMAT);
    SendMessageA(formats, CB_SETCURSEL, SendMessageA(formats, CB_GETCOUNT, 0, 0) - 1, 0);
    SendMessageA(GetDlgItem(options, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(options); }, kTimeout));

    ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max --sample-seconds 2");
    ASSERT_TRUE(recorder.Started());
    ASSERT_EQ(recorder.Wait(kTimeout), 0u);
    ASSERT_TRUE(RowsBecome(3));
    for (const std::vector<std::string>& row : Rows()) {
        EXPECT_EQ(_stricmp(row[6].c_str() + row[6].size() - 4, ".WMA"), 0) << row[6];
        EXPECT_EQ(row[6].rfind(output + "\\", 0), 0u) << row[6];
        // Two seconds at 48 kbps are some 12 KB; at the 192 kbps of the first format, 48 KB.
        EXPECT_LT(ReadFile(row[6]).size(), 30000u) << row[6];
    }
    Exit();
    const std::string saved = ReadFile(ProjectFilePath());
    EXPECT_NE(saved.find("codec=\"wma\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("<output_folder path=\"" + output + "\"/>"), std::string::npos) << saved;
}
