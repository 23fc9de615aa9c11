// The disc list's in-place label editor, driven by keys as the message loop hands them over.
#include "tests/ui/controls/ControlsTestSupport.h"

#include "app/Messages.h"
#include "app/framework/MessagePump.h"
#include "ui/controls/EditListBox.h"

#include <gtest/gtest.h>

using namespace ctltest;

namespace {

class EditListBoxTest : public ::testing::Test {
protected:
    EditListBoxTest() {
        EXPECT_TRUE(m_list.Attach(m_host, kListBox));
        for (const char* label : {"Disc 1", "Disc 2", "Disc 3"}) {
            SendMessageA(m_list.Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
        }
        SetForegroundWindow(m_host.Hwnd());
        m_host.Watch(WM_RENAME_DONE);
    }
    // A key as the message loop delivers it: the modeless dialog's keyboard handling sees it first.
    void Key(WPARAM key) {
        HWND focus = GetFocus();
        for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG msg{focus, message, key, 0, 0, {}};
            if (!HandleDialogMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        Pump();
    }

    CHostDialog m_host;
    CEditListBox m_list;
};

} // namespace

// Fault: the dialog took Enter as its default button, so the label never changed; or the edit
// ended twice (once for Enter, once for the focus it lost as it went) and the parent heard of it
// twice.
TEST_F(EditListBoxTest, EnterCommitsTheLabelAndPostsRenameDoneOnce) {
    ASSERT_TRUE(m_list.BeginEdit(1));
    ASSERT_EQ(GetFocus(), m_list.EditorHwnd());
    EXPECT_EQ(GetDlgCtrlID(m_list.EditorHwnd()), CEditListBox::kEditorId);
    SetWindowTextA(m_list.EditorHwnd(), "Road trip");
    Key(VK_RETURN);
    EXPECT_FALSE(m_list.IsEditing());
    EXPECT_EQ(m_list.ItemText(1), "Road trip");
    EXPECT_EQ(SendMessageA(m_list.Hwnd(), LB_GETCURSEL, 0, 0), 1) << "the renamed disc stays selected";
    EXPECT_EQ(m_host.Seen(WM_RENAME_DONE), 1);
    EXPECT_EQ(m_host.okCommands, 0);
}

// Fault: Escape reached the dialog as its cancel, or committed the typed text.
TEST_F(EditListBoxTest, EscapeCancelsAndLeavesTheLabelAsItWas) {
    ASSERT_TRUE(m_list.BeginEdit(0));
    SetWindowTextA(m_list.EditorHwnd(), "Never mind");
    Key(VK_ESCAPE);
    EXPECT_FALSE(m_list.IsEditing());
    EXPECT_EQ(m_list.ItemText(0), "Disc 1");
    EXPECT_EQ(m_host.Seen(WM_RENAME_DONE), 0);
    EXPECT_EQ(m_host.cancelCommands, 0);
}

// Fault: a click elsewhere left the editor standing, or dropped what was typed.
TEST_F(EditListBoxTest, MovingTheFocusElsewhereCommits) {
    ASSERT_TRUE(m_list.BeginEdit(2));
    SetWindowTextA(m_list.EditorHwnd(), "Live");
    SetFocus(m_host.Item(kOtherEdit));
    Pump();
    EXPECT_FALSE(m_list.IsEditing());
    EXPECT_EQ(m_list.ItemText(2), "Live");
    EXPECT_EQ(GetFocus(), m_host.Item(kOtherEdit)) << "the focus stays where the user put it";
    EXPECT_EQ(m_host.Seen(WM_RENAME_DONE), 1);
}
