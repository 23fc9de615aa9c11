// The skinned music list: the playing row's mark and the header's skin.
#include "tests/ui/controls/ControlsTestSupport.h"

#include "ui/controls/Skin.h"
#include "ui/controls/SkinListCtrl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace ctltest;

namespace {

class SkinListCtrlTest : public ::testing::Test {
protected:
    SkinListCtrlTest() {
        EXPECT_TRUE(m_list.Attach(m_host, kListView));
        HWND list = m_list.Hwnd();
        SetWindowPos(list, nullptr, 0, 0, 400, 120, SWP_NOZORDER);
        const char* names[] = {"#", "Name", "Location"};
        const int widths[] = {40, 150, 200};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<char*>(names[i]);
            column.cx = widths[i];
            SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        }
        const char* rows[][3] = {{"1", "Intro", "C:\\Music\\Disc\\01-Intro.mp3"},
                                 {"2", "Blue", "C:\\Music\\Disc\\02-Blue.mp3"},
                                 {"3", "Outro", "C:\\Music\\Disc\\03-Outro.mp3"}};
        for (int row = 0; row < 3; ++row) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = const_cast<char*>(rows[row][0]);
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            for (int column = 1; column < 3; ++column) {
                item.iSubItem = column;
                item.pszText = const_cast<char*>(rows[row][column]);
                SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            }
        }
        m_list.SetPathColumn(2);
    }
    // A pixel of the row where the first column's short text leaves the ground bare.
    COLORREF RowGround(const Pixels& shown, int row) const {
        RECT place{LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(m_list.Hwnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&place));
        return shown.At(34, (place.top + place.bottom) / 2);
    }

    CHostDialog m_host;
    CSkinListCtrl m_list;
};

} // namespace

// Fault: the playing row looked like any other: the path compared with its case, the wrong column
// read, or the custom-draw answer lost on its way through the dialog.
TEST_F(SkinListCtrlTest, ThePlayingRowIsDrawnInThePlayingColours) {
    const CSkin& skin = GetSkin();
    m_list.SetPlayingPath("c:\\music\\disc\\02-BLUE.MP3");
    Pixels playing = PrintClient(m_list.Hwnd());
    EXPECT_EQ(RowGround(playing, 1), skin.Colour(SkinColour::Playing));
    EXPECT_EQ(RowGround(playing, 0), skin.Colour(SkinColour::Body));
    EXPECT_EQ(RowGround(playing, 2), skin.Colour(SkinColour::Body));

    m_list.SetPlayingPath("");
    EXPECT_EQ(RowGround(PrintClient(m_list.Hwnd()), 1), skin.Colour(SkinColour::Alternate))
        << "the mark goes";
}

// Fault: the header kept the system's face beside the skinned rows.
TEST_F(SkinListCtrlTest, TheHeaderIsPaintedInTheSkin) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(m_list.Hwnd(), LVM_GETHEADER, 0, 0));
    Pixels shown = PrintClient(header);
    ASSERT_GT(shown.Height(), 2);
    EXPECT_EQ(shown.At(shown.Width() - 3, 2), GetSkin().Colour(SkinColour::Raised));
    EXPECT_EQ(shown.At(shown.Width() - 3, shown.Height() - 1), GetSkin().Colour(SkinColour::Accent));
}
