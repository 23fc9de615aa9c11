// The toolkit's registered messages: their names, and the two controls that send them.
#include "tests/ui/controls/ControlsTestSupport.h"

#include "ui/controls/LayoutManager.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/ToolkitMessages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace ctltest;

// Fault: a misspelt name: another window (or another build) listening for the message under its
// documented name never hears it.
TEST(ToolkitMessages, CarryTheirRegisteredNames) {
    EXPECT_EQ(ListCtrlComboSelectionMessage(), RegisterWindowMessageA("WM_LISTCTRL_COMBO_SELECTION"));
    EXPECT_EQ(LayoutManagerMessage(), RegisterWindowMessageA("WM_LAYOUTMGR"));
    EXPECT_NE(ListCtrlComboSelectionMessage(), LayoutManagerMessage());
}

// Fault: the dialog was never told of a new layout, or could be made smaller than it was laid out.
TEST(LayoutManager, ASizeableDialogIsToldOfEachLayoutAndKeepsItsSmallestSize) {
    CHostDialog host(kSizeableDialog);
    CLayoutManager layout;
    ASSERT_TRUE(layout.Attach(host.Hwnd(), {AnchorStretchWidth(kSizeableEdit)}));
    RECT window;
    GetWindowRect(host.Hwnd(), &window);
    // The message is sent: the test sees it through a hook of its own on the dialog.
    static std::vector<LPARAM> told;
    told.clear();
    SetWindowSubclass(
        host.Hwnd(),
        [](HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) -> LRESULT {
            if (m == LayoutManagerMessage()) {
                told.push_back(MAKELPARAM(wp, lp));
            }
            return DefSubclassProc(w, m, wp, lp);
        },
        7, 0);
    SetWindowPos(host.Hwnd(), nullptr, 0, 0, window.right - window.left + 80, window.bottom - window.top + 10,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(host.Hwnd(), &client);
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), MAKELPARAM(client.right, client.bottom));

    MINMAXINFO limits{};
    SendMessageA(host.Hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, window.right - window.left);
    EXPECT_EQ(limits.ptMinTrackSize.y, window.bottom - window.top);
}

// Fault: the parent heard of one choice twice (the list's end and its selection change), or heard of
// the program's own selection as if the user had made it.
TEST(SkinComboBox, TheParentHearsOnceOfEachChoiceTheUserSettlesOn) {
    CHostDialog host;
    CSkinComboBox combo;
    ASSERT_TRUE(combo.Attach(host, kComboList));
    for (const char* text : {"128 kbps", "192 kbps", "320 kbps"}) {
        SendMessageA(combo.Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(combo.Hwnd(), CB_SETCURSEL, 0, 0);
    Pump();
    EXPECT_TRUE(TakePosted(host.Hwnd(), ListCtrlComboSelectionMessage()).empty()) << "the program's choice";
    // The user steps to the next item of the closed list with the keyboard.
    SendMessageA(combo.Hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(combo.Hwnd(), WM_KEYUP, VK_DOWN, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, host.Hwnd(), ListCtrlComboSelectionMessage(),
                             ListCtrlComboSelectionMessage(), PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(kComboList));
    EXPECT_EQ(msg.lParam, 1);
    EXPECT_TRUE(TakePosted(host.Hwnd(), ListCtrlComboSelectionMessage()).empty()) << "only once";
}
