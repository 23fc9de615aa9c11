// The track panel in this process as a child of a stand-in manager window, and the tagging of a
// converted track from a dropped source; mutagen reads the tagged tracks again.
#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/AppFolders.h"
#include "finish/Id3Tag.h"
#include "res/ids/TrackPanelIds.h"
#include "tests/ui/manager/WindowTestSupport.h"
#include "tests/ui/trackinfo/TrackInfoTestSupport.h"
#include "ui/trackinfo/DlgMusicInfo.h"
#include "ui/trackinfo/DropTagging.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace qvltest;
using namespace uitest;

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A drop of these files as the shell hands it over: the receiver frees it with DragFinish.
HDROP DropOf(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths) {
        names += path + '\0';
    }
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Whether a message of this kind waits for the window, taking it out.
bool Posted(HWND window, UINT message) {
    MSG msg;
    return PeekMessageA(&msg, window, message, message, PM_REMOVE) != FALSE;
}

class TrackPanel : public TrackInfoTest {
protected:
    void SetUp() override {
        TrackInfoTest::SetUp();
        m_manager = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_TRUE(m_panel.Create(GetModuleHandleA(nullptr), m_manager));
        MoveWindow(m_panel.Hwnd(), 0, 0, 240, 138, TRUE);
        ShowWindow(m_panel.Hwnd(), SW_SHOW);
    }
    void TearDown() override {
        m_panel.Destroy();
        DestroyWindow(m_manager);
    }

    HWND m_manager = nullptr;
    std::vector<std::string> m_opened;
    CDlgMusicInfo m_panel{[this](HWND, const std::string& path) { m_opened.push_back(path); }};
};

} // namespace

TEST_F(TrackPanel, ShowsTheFilesArtworkOrTheNoArtPicture) {
    // Catches artwork not extracted for the panel, a picture left over from the track shown
    // before, and a missing stand-in for a file without artwork.
    m_panel.SetTrack(Copy("with_art.mp3"), "With_Art", "0:01");
    EXPECT_TRUE(EndsWith(m_panel.ArtworkShown(), "\\track_info_artwork.jpg"));
    EXPECT_EQ(ReadFile(m_panel.ArtworkShown()), ReadFile(Copy("cover.jpg")));
    m_panel.SetTrack(Copy("target.mp3"), "Old_Title", "0:01");
    EXPECT_EQ(m_panel.ArtworkShown(), ProgramFolder() + "\\no_album_art.jpg");
    EXPECT_TRUE(FileExists(m_panel.ArtworkShown()));
}

TEST_F(TrackPanel, EditTellsTheManagerAndADoubleClickOnTheLocationOpensIt) {
    // Catches an Edit button that does not reach the manager, and a double click that opens the
    // location from outside its line or with no file selected.
    SendMessageA(m_panel.Item(IDC_TRACKPANEL_EDIT), BM_CLICK, 0, 0);
    EXPECT_TRUE(Posted(m_manager, WM_EDIT_TAGS));
    SendMessageA(m_panel.Hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 110));
    const std::string path = Copy("target.mp3");
    m_panel.SetTrack(path, "Old_Title", "0:01");
    SendMessageA(m_panel.Hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 50));
    SendMessageA(m_panel.Hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 110));
    EXPECT_EQ(m_opened, std::vector<std::string>{path});
}

TEST_F(TrackPanel, ALanguageSwitchReachesTheEditButton) {
    // Catches a panel that keeps the old language's button text after a switch.
    LanguageInUse german("lang_deu.ini");
    SendMessageA(m_panel.Hwnd(), WM_LANGUAGE_CHANGED, 0, 0);
    CLanguageFile file(ProgramFolder() + "\\Lang\\lang_deu.ini");
    char text[64] = "";
    GetWindowTextA(m_panel.Item(IDC_TRACKPANEL_EDIT), text, sizeof text);
    EXPECT_EQ(text, file.Value("DIALOG_IDD_" + std::to_string(IDD_TRACK_PANEL),
                               std::to_string(IDC_TRACKPANEL_EDIT)));
    EXPECT_STRNE(text, "Edit...");
}

TEST_F(TrackPanel, ADroppedSourceTagsTheSelectedTrack) {
    // Catches a drop that does not reach the selected track's tags or cover, or that the manager
    // is not told of.
    const std::string target = Copy("target.mp3", "dropped.mp3");
    m_panel.SetTrack(target, "Old_Title", "0:01");
    SendMessageA(m_panel.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({Copy("source.flac")})), 0);
    EXPECT_TRUE(Posted(m_manager, WM_REFRESH_TRACKS));
    TrackTags tags;
    ReadId3Tag(target.c_str(), ID3TT_ID3V2, tags);
    EXPECT_EQ(tags.title, "Tidewater");
    EXPECT_EQ(tags.trackNumber, 9);
    EXPECT_TRUE(EndsWith(m_panel.ArtworkShown(), "\\track_info_artwork.jpg"));
    KeepForTheIndependentCheck(target, "dropped.mp3");
}

TEST_F(TrackPanel, AnMpeg4SourceTagsAWmaTrack) {
    // Catches MPEG-4 tags or covers that do not reach a WMA track.
    const std::string target = Copy("target.wma", "dropped.wma");
    EXPECT_EQ(TagTrackFromSource(Copy("source.m4a"), target, m_folder / "cover_out.jpg"), 1);
    KeepForTheIndependentCheck(target, "dropped.wma");
}
