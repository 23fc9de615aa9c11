// The file information dialog in this process, from the program's own resources, on files other
// programs wrote; what OK leaves in them is read again by mutagen (check_trackinfo.py).
#include "finish/Id3Tag.h"
#include "project/DiscCatalogue.h"
#include "res/ids/FileInfoIds.h"
#include "tests/ui/manager/WindowTestSupport.h"
#include "tests/ui/trackinfo/TrackInfoTestSupport.h"
#include "ui/trackinfo/DlgFileInfo.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

using namespace qvltest;
using namespace uitest;

namespace {

// A control of one of the dialog's pages, which are child dialogs of it.
HWND PageControl(HWND dialog, int id) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = "";
        GetClassNameA(child, name, sizeof name);
        if (std::string(name) == "#32770" && GetDlgItem(child, id) != nullptr) {
            return GetDlgItem(child, id);
        }
    }
    return nullptr;
}

void Click(HWND button) {
    SendMessageA(button, BM_CLICK, 0, 0);
}

std::string SelectedText(HWND box) {
    char text[128] = "";
    LRESULT item = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (item != CB_ERR) {
        SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text));
    }
    return text;
}

class FileInfoDialog : public TrackInfoTest {
protected:
    // Runs the dialog on path; act works in it from inside its loop and must end it.
    void Run(const std::string& path, const std::function<void(HWND)>& act) {
        m_dialog.SetFile(path);
        ASSERT_TRUE(EndsModal([&] { m_dialog.DoModal(GetModuleHandleA(nullptr), nullptr); },
                              [&] { return m_dialog.Hwnd(); }, act));
    }

    DiscCatalogue m_catalogue;
    CCatalogueSteps m_steps{m_catalogue};
    CDlgFileInfo m_dialog{m_steps};
};

} // namespace

TEST_F(FileInfoDialog, EditsOnBothTagPagesReachTheFileAndTheManager) {
    // Catches an OK that writes a page's fields into the wrong tag or not at all, a summary that
    // misreads the MPEG header, and a result the manager would not take over.
    const std::string path = Copy("target.mp3", "edited.mp3");
    std::string bitrate, rate, channels, tabs;
    Run(path, [&](HWND dialog) {
        bitrate = WindowText(PageControl(dialog, IDC_SUMMARY_BITRATE));
        rate = WindowText(PageControl(dialog, IDC_SUMMARY_SAMPLE_RATE));
        channels = WindowText(PageControl(dialog, IDC_SUMMARY_CHANNELS));
        tabs = std::to_string(SendMessageA(GetDlgItem(dialog, IDC_FILEINFO_TAB), TCM_GETITEMCOUNT, 0, 0));
        SetWindowTextA(PageControl(dialog, IDC_ID3V2_TITLE), "New Title");
        SetWindowTextA(PageControl(dialog, IDC_ID3V2_GENRE), "Nu Jazz");
        SetWindowTextA(PageControl(dialog, IDC_ID3V2_COMPOSER), "Ivo Brandt");
        SetWindowTextA(PageControl(dialog, IDC_ID3V1_ARTIST), "New Artist");
        SetWindowTextA(PageControl(dialog, IDC_ID3V1_TRACK), "600");
        Click(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(bitrate, "128 kbps");
    EXPECT_EQ(rate, "44100 Hz");
    EXPECT_EQ(channels, "Stereo");
    EXPECT_EQ(tabs, "3");
    EXPECT_EQ(m_dialog.Result(), kFileMp3);
    EXPECT_EQ(m_dialog.Edited().title, "New Title");
    EXPECT_EQ(m_dialog.Edited().genre, "Nu Jazz");
    TrackTags version1;
    ReadId3Tag(path.c_str(), ID3TT_ID3V1, version1);
    EXPECT_EQ(version1.artist, "New Artist");
    EXPECT_EQ(version1.trackNumber, 3) << "an out-of-range number keeps the stored one";
    KeepForTheIndependentCheck(path, "edited.mp3");
}

TEST_F(FileInfoDialog, AClearedId3v1BoxRemovesOnlyThatTag) {
    // Catches fields left enabled under a cleared box, and an OK that removes the wrong tag or
    // keeps the one cleared.
    const std::string path = Copy("target.mp3", "without_v1.mp3");
    bool fieldEnabled = true;
    Run(path, [&](HWND dialog) {
        Click(PageControl(dialog, IDC_ID3V1_INCLUDE));
        fieldEnabled = IsWindowEnabled(PageControl(dialog, IDC_ID3V1_TITLE)) != FALSE;
        Click(GetDlgItem(dialog, IDOK));
    });
    EXPECT_FALSE(fieldEnabled);
    EXPECT_FALSE(HasId3Tag(path, ID3TT_ID3V1));
    EXPECT_TRUE(HasId3Tag(path, ID3TT_ID3V2));
    KeepForTheIndependentCheck(path, "without_v1.mp3");
}

TEST_F(FileInfoDialog, UnknownGenreShowsOtherAndCopyLeavesTheGenre) {
    // Catches a genre number outside the list that selects nothing or the first genre, a copy to
    // ID3v2 that misses the typed fields or takes the genre along, and a Cancel that writes.
    const std::string path = Copy("target.mp3", "copy.mp3");
    std::string bytes = ReadFile(path);
    bytes.back() = static_cast<char>(200);
    WriteFile(path, bytes);
    std::string genreV1, titleV2, genreV2Before, genreV2After;
    Run(path, [&](HWND dialog) {
        genreV1 = SelectedText(PageControl(dialog, IDC_ID3V1_GENRE));
        genreV2Before = WindowText(PageControl(dialog, IDC_ID3V2_GENRE));
        SetWindowTextA(PageControl(dialog, IDC_ID3V1_TITLE), "Copied");
        Click(PageControl(dialog, IDC_ID3V1_COPY));
        titleV2 = WindowText(PageControl(dialog, IDC_ID3V2_TITLE));
        genreV2After = WindowText(PageControl(dialog, IDC_ID3V2_GENRE));
        Click(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_EQ(genreV1, "Other");
    EXPECT_EQ(titleV2, "Copied");
    EXPECT_EQ(genreV2After, genreV2Before);
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_EQ(m_dialog.Result(), -1);
}

TEST_F(FileInfoDialog, NextStopsAtTheLastTrackOfTheDisc) {
    // Catches Next that runs into the following disc, a button left enabled with nowhere to go,
    // and pages not refilled for the new file.
    const std::string first = Copy("target.mp3", "1.mp3");
    const std::string second = Copy("with_art.mp3", "2.mp3");
    auto disc = std::make_unique<DiscRecord>();
    disc->AddTrack("a", "", "", "", first, "0:01");
    disc->AddTrack("b", "", "", "", second, "0:01");
    m_catalogue.AddDisc(std::move(disc));
    auto following = std::make_unique<DiscRecord>();
    following->AddTrack("c", "", "", "", Copy("target.mp3", "3.mp3"), "0:01");
    m_catalogue.AddDisc(std::move(following));
    bool previousAtFirst = true, nextAtLast = true, previousAtLast = false;
    std::string shownPath, shownTitle;
    Run(first, [&](HWND dialog) {
        previousAtFirst = IsWindowEnabled(GetDlgItem(dialog, IDC_FILEINFO_PREVIOUS)) != FALSE;
        Click(GetDlgItem(dialog, IDC_FILEINFO_NEXT));
        Click(GetDlgItem(dialog, IDC_FILEINFO_NEXT));
        nextAtLast = IsWindowEnabled(GetDlgItem(dialog, IDC_FILEINFO_NEXT)) != FALSE;
        previousAtLast = IsWindowEnabled(GetDlgItem(dialog, IDC_FILEINFO_PREVIOUS)) != FALSE;
        shownPath = WindowText(GetDlgItem(dialog, IDC_FILEINFO_PATH));
        shownTitle = WindowText(PageControl(dialog, IDC_ID3V2_TITLE));
        Click(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_FALSE(previousAtFirst);
    EXPECT_FALSE(nextAtLast);
    EXPECT_TRUE(previousAtLast);
    EXPECT_EQ(shownPath, second);
    EXPECT_EQ(shownTitle, "With_Art");
}

TEST_F(FileInfoDialog, WmaTagsAreEditedOnTheirOwnPage) {
    // Catches a WMA file offered the ID3 pages, its tags not read into the page, or an OK that
    // does not write them through the WMA library.
    const std::string path = Copy("target.wma", "edited.wma");
    std::string tabs, shownTitle;
    Run(path, [&](HWND dialog) {
        tabs = std::to_string(SendMessageA(GetDlgItem(dialog, IDC_FILEINFO_TAB), TCM_GETITEMCOUNT, 0, 0));
        shownTitle = WindowText(PageControl(dialog, IDC_WMAINFO_TITLE));
        SetWindowTextA(PageControl(dialog, IDC_WMAINFO_TITLE), "Sea Road");
        SetWindowTextA(PageControl(dialog, IDC_WMAINFO_GENRE), "Folk");
        SetWindowTextA(PageControl(dialog, IDC_WMAINFO_TRACK), "4");
        Click(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(tabs, "2");
    EXPECT_EQ(shownTitle, "Harbour_Wind");
    EXPECT_EQ(m_dialog.Result(), kFileWma);
    EXPECT_EQ(m_dialog.Edited().title, "Sea Road");
    EXPECT_EQ(m_dialog.Edited().artist, "Old_Crew");
    KeepForTheIndependentCheck(path, "edited.wma");
}
