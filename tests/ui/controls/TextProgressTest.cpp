// The text progress bar: the rule of what it shows, and what it draws.
#include "tests/ui/controls/ControlsTestSupport.h"

#include "ui/controls/Skin.h"
#include "ui/controls/TextProgressCtrl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace ctltest;

// Fault: a position past 100 ran over the bar's end, a negative one drew backwards, or 100 left a
// gap at the end.
TEST(TextProgress, ThePositionFillsItsShareOfTheBarRoundedAndBounded) {
    EXPECT_EQ(ComputeProgressFace(50, "", false, 171).fillWidth, 86) << "85.5 rounds up";
    EXPECT_EQ(ComputeProgressFace(100, "", false, 171).fillWidth, 171);
    EXPECT_EQ(ComputeProgressFace(140, "", false, 171).fillWidth, 171);
    EXPECT_EQ(ComputeProgressFace(-3, "", false, 171).fillWidth, 0);
    EXPECT_FALSE(ComputeProgressFace(50, "", false, 171).showsText) << "an empty text is no text";
}

// Fault: the idle text was drawn over the full bar the last track left, or a text meant to go over
// the bar hid it.
TEST(TextProgress, ATextStandsInsteadOfTheBarUnlessItIsToGoOverIt) {
    ProgressFace instead = ComputeProgressFace(100, "Waiting burn action...", false, 171);
    EXPECT_TRUE(instead.showsText);
    EXPECT_EQ(instead.fillWidth, 0);
    ProgressFace over = ComputeProgressFace(40, "40%", true, 171);
    EXPECT_TRUE(over.showsText);
    EXPECT_EQ(over.fillWidth, 68);
}

// Fault: the control kept the system's drawing, so neither the text nor the skin's bar was seen,
// or a position sent as PBM_SETPOS never reached the drawing.
TEST(TextProgress, TheIdleTextHidesTheBarAndEmptyingItBringsTheBarBack) {
    CHostDialog host;
    CTextProgressCtrl progress;
    ASSERT_TRUE(progress.Attach(host, kProgress));
    SetWindowPos(progress.Hwnd(), nullptr, 21, 64, 173, 15, SWP_NOZORDER);
    const COLORREF accent = GetSkin().Colour(SkinColour::Accent);
    const RECT all{0, 0, 173, 15};

    progress.SetPos(100);
    progress.SetText("Waiting burn action...");
    Pixels idle = PrintClient(progress.Hwnd());
    EXPECT_FALSE(idle.Contains(all, accent));
    EXPECT_TRUE(idle.Contains(all, GetSkin().Colour(SkinColour::Text))) << "the text is drawn";

    progress.SetText("");
    SendMessageA(progress.Hwnd(), PBM_SETPOS, 50, 0);
    EXPECT_EQ(progress.Pos(), 50);
    Pixels encoding = PrintClient(progress.Hwnd());
    EXPECT_EQ(encoding.At(40, 7), accent);
    EXPECT_NE(encoding.At(150, 7), accent);
}
