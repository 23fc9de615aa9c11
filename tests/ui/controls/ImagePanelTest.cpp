// The image panel in a window: what it draws for each region's state, what a click posts, and
// what a language change does.
#include "tests/ui/controls/ControlsTestSupport.h"

#include "app/Messages.h"
#include "ui/controls/ImagePanel.h"

#include <gtest/gtest.h>

using namespace ctltest;

namespace {

constexpr COLORREF kNormal = RGB(0, 0, 200);
constexpr COLORREF kHover = RGB(0, 200, 0);
constexpr COLORREF kPressed = RGB(200, 200, 0);
constexpr COLORREF kDisabled = RGB(100, 100, 100);

// The status window's panel: 86 by 59 pixels, bitmaps 159, 162, 160, 161, two regions.
class ImagePanelTest : public ::testing::Test {
protected:
    ImagePanelTest() : m_resources({86, 59}) {
        m_resources.colours = {{159, kNormal}, {162, kHover}, {160, kPressed}, {161, kDisabled}};
        m_resources.texts = {{115, "Open Disc Manager Window"}, {116, "Close"}};
        m_panel.SetResources(m_resources);
        EXPECT_TRUE(m_panel.Attach(m_host, kPanel));
        m_panel.Place(0, 0, 86, 59);
        m_panel.SetBitmaps({159, 162, 160, 161});
        m_panel.SetRegions({{true, 0, 0, 29, 89, 31, 115}, {true, 1, 62, 1, 20, 20, 116}});
        m_panel.SetTarget(m_host.Hwnd(), WM_STATUS_HOTSPOT);
        m_panel.BuildTooltips();
    }
    LRESULT Mouse(UINT message, int x, int y) {
        return SendMessageA(m_panel.Hwnd(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                            MAKELPARAM(x, y));
    }

    CFakePanelResources m_resources;
    CHostDialog m_host;
    CImagePanel m_panel;
};

} // namespace

// Fault: the hover picture was drawn over the whole panel, or at the wrong place.
TEST_F(ImagePanelTest, AHoveredRegionShowsTheHoverPictureInsideItAndTheNormalOneOutside) {
    Mouse(WM_MOUSEMOVE, 70, 10);
    Pixels shown = PrintClient(m_panel.Hwnd());
    EXPECT_EQ(shown.At(62, 1), kHover);
    EXPECT_EQ(shown.At(81, 20), kHover);
    EXPECT_EQ(shown.At(61, 1), kNormal);
    EXPECT_EQ(shown.At(82, 20), kNormal);
    EXPECT_EQ(shown.At(70, 21), kNormal);
    EXPECT_EQ(shown.At(10, 40), kNormal) << "the other region";
}

// Fault: a pressed or a disabled region was drawn from the wrong picture.
TEST_F(ImagePanelTest, APressedRegionShowsThePressedPictureAndADisabledOneTheDisabledPicture) {
    Mouse(WM_LBUTTONDOWN, 10, 40);
    EXPECT_EQ(GetCapture(), m_panel.Hwnd()) << "the panel holds the mouse while pressed";
    ASSERT_TRUE(m_panel.EnableRegion(1, false));
    Pixels shown = PrintClient(m_panel.Hwnd());
    EXPECT_EQ(shown.At(0, 29), kPressed);
    EXPECT_EQ(shown.At(85, 58), kPressed);
    EXPECT_EQ(shown.At(10, 28), kNormal);
    EXPECT_EQ(shown.At(70, 10), kDisabled);
    Mouse(WM_LBUTTONUP, 10, 40);
}

// Fault: a click posted nothing, posted to the wrong window, or a release off every region posted.
TEST_F(ImagePanelTest, AClickReleasedOverARegionPostsItsIdAndOneReleasedOutsidePostsNothing) {
    Mouse(WM_LBUTTONDOWN, 70, 10);
    Mouse(WM_LBUTTONUP, 10, 40);
    EXPECT_EQ(TakePosted(m_host.Hwnd(), WM_STATUS_HOTSPOT), std::vector<WPARAM>{0});
    EXPECT_NE(GetCapture(), m_panel.Hwnd());

    Mouse(WM_LBUTTONDOWN, 10, 40);
    Mouse(WM_LBUTTONUP, 30, 10);
    Mouse(WM_LBUTTONDOWN, 10, 40);
    Mouse(WM_LBUTTONUP, -5, 40);
    EXPECT_TRUE(TakePosted(m_host.Hwnd(), WM_STATUS_HOTSPOT).empty());
}

// Fault: after a language change the panel kept the old language's pictures or tooltips.
TEST_F(ImagePanelTest, ALanguageChangeReloadsThePicturesAndRebuildsTheTooltips) {
    EXPECT_EQ(m_panel.Tooltips().Text(1), "Close");
    EXPECT_EQ(m_panel.Tooltips().AreaCount(), 2);
    m_resources.colours[159] = RGB(10, 20, 30);
    m_resources.texts[116] = "Schliessen";
    SendMessageA(m_panel.Hwnd(), WM_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(PrintClient(m_panel.Hwnd()).At(30, 10), RGB(10, 20, 30));
    EXPECT_EQ(m_panel.Tooltips().Text(1), "Schliessen");
    EXPECT_EQ(m_panel.Tooltips().AreaCount(), 2);
}
