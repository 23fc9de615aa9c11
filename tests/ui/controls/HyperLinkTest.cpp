// The hyperlink.
#include "tests/ui/controls/ControlsTestSupport.h"

#include "ui/controls/HyperLink.h"

#include <gtest/gtest.h>

using namespace ctltest;

// Fault: the static control let the mouse through to the dialog, so a click opened nothing; or a
// press dragged off the link still opened it.
TEST(HyperLink, AClickOnTheLinkOpensItsTargetWithTheHandCursor) {
    CHostDialog host;
    CHyperLink link;
    std::vector<std::string> opened;
    link.SetOpener([&opened](const std::string& target) { opened.push_back(target); });
    ASSERT_TRUE(link.Attach(host, kLink));
    EXPECT_EQ(link.Target(), "https://quaverlane.example/") << "the text until a target is set";

    RECT place;
    GetWindowRect(link.Hwnd(), &place);
    POINT inside{place.left + 3, place.top + 3};
    ASSERT_EQ(SendMessageA(link.Hwnd(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
    SendMessageA(link.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.Hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));

    link.SetTarget("C:\\Music");
    SendMessageA(link.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(link.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    SendMessageA(link.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(link.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 300));
    EXPECT_EQ(opened, std::vector<std::string>{"C:\\Music"});
}
