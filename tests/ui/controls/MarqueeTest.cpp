// The scrolling text.
#include "tests/ui/controls/ControlsTestSupport.h"

#include "ui/controls/MarqueeCtrl.h"

#include <gtest/gtest.h>

using namespace ctltest;

// Fault: the strip ran off and never came round again, or jumped when it wrapped.
TEST(Marquee, TheStripComesRoundAgainAfterItsLength) {
    EXPECT_EQ(NextMarqueeOffset(0, 1, 300), 1);
    EXPECT_EQ(NextMarqueeOffset(299, 1, 300), 0);
    EXPECT_EQ(NextMarqueeOffset(5, 1, 0), 0) << "nothing to scroll";
}

// Fault: the colours the player bar gives were ignored, or the items were not drawn where they lie
// on the strip, or a step did not move the strip.
TEST(Marquee, ItemsAndTextAreDrawnInTheGivenColoursAndMoveWithEachStep) {
    CHostDialog host;
    CMarqueeCtrl marquee;
    ASSERT_TRUE(marquee.Attach(host, kMarquee));
    SetWindowPos(marquee.Hwnd(), nullptr, 0, 0, 210, 16, SWP_NOZORDER);
    const COLORREF text = RGB(200, 200, 250), ground = RGB(40, 40, 40);
    marquee.SetColours(text, ground);
    MarqueeItem* item = marquee.AddItem("Now playing...", 0, 200);
    marquee.SetText("     1:02-3:45    ");
    EXPECT_GT(marquee.StripLength(), 200);

    Pixels before = PrintClient(marquee.Hwnd());
    EXPECT_EQ(before.At(205, 1), ground);
    EXPECT_TRUE(before.Contains({0, 0, 100, 16}, text)) << "the item's text at its place";
    marquee.SetItemText(item, "");
    marquee.SetText("");
    EXPECT_FALSE(PrintClient(marquee.Hwnd()).Contains({0, 0, 210, 16}, text)) << "nothing left to draw";

    // One mark at the strip's start; ten steps later it has left the start and, the strip being
    // 200 pixels long, comes in again 10 pixels before the end.
    marquee.SetItemText(item, "|");
    // A one-pixel stroke is smoothed into the ground: anything but the ground is the mark.
    EXPECT_TRUE(PrintClient(marquee.Hwnd()).ContainsOtherThan({0, 0, 8, 16}, ground));
    for (int i = 0; i < 10; ++i) {
        marquee.Step();
    }
    Pixels after = PrintClient(marquee.Hwnd());
    EXPECT_FALSE(after.ContainsOtherThan({0, 0, 8, 16}, ground));
    EXPECT_TRUE(after.ContainsOtherThan({188, 0, 200, 16}, ground));
}
