// The about box, the quick guide and the start guide in this process, built from the program's
// own resources.
#include "QvlVersion.h"
#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/AppFolders.h"
#include "res/ids/AboutIds.h"
#include "res/ids/ArtIds.h"
#include "res/ids/GuideIds.h"
#include "res/ids/StartGuideIds.h"
#include "tests/ui/manager/WindowTestSupport.h"
#include "ui/manager/DlgAbout.h"
#include "ui/manager/DlgQuickGuide.h"
#include "ui/manager/DlgStartGuide.h"

#include <gtest/gtest.h>

using namespace uitest;

namespace {

// The centre of a child window, in its parent's client pixels.
POINT Centre(HWND child) {
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

} // namespace

TEST(AboutVersionLine, TheLastWordBecomesTheVersion) {
    // Catches a version line that loses the translated words or keeps the template's number.
    EXPECT_EQ(AboutVersionLine("Quaverlane, Version 1.0", "1.0.0.0"), "Quaverlane, Version 1.0.0.0");
    EXPECT_EQ(AboutVersionLine("Quaverlane", "2.3.0.1"), "Quaverlane 2.3.0.1");
}

TEST(AboutBox, ShowsTheProgramsOwnVersionAndOkEndsIt) {
    // Catches an about box that shows the template's number instead of the program's version
    // resource (this executable carries the program's), or that OK does not close.
    CDlgAbout about;
    std::string line;
    EXPECT_TRUE(EndsModal([&] { about.Run(GetModuleHandleA(nullptr), nullptr); },
                          [&] { return about.Hwnd(); },
                          [&](HWND dialog) {
                              line = WindowText(GetDlgItem(dialog, IDC_ABOUT_NAME));
                              SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                          }));
    EXPECT_EQ(line, std::string("Quaverlane, Version ") + QVL_VERSION_TEXT);
}

TEST(QuickGuide, EscapeAndThePicturesCloseButtonEachEndIt) {
    // Catches a quick guide that Escape, or a click on the close button drawn in its picture, does
    // not end.
    CDlgQuickGuide guide;
    auto run = [&] { guide.Run(GetModuleHandleA(nullptr), nullptr); };
    auto dialog = [&] { return guide.Hwnd(); };
    EXPECT_TRUE(EndsModal(run, dialog, [](HWND shown) { PostMessageA(shown, WM_KEYDOWN, VK_ESCAPE, 0); }))
        << "Escape";
    EXPECT_TRUE(EndsModal(run, dialog, [](HWND shown) {
        Click(GetDlgItem(shown, IDC_QUICKGUIDE_PANEL), QUICK_GUIDE_CLOSE_X + QUICK_GUIDE_CLOSE_WIDTH / 2,
              QUICK_GUIDE_CLOSE_Y + QUICK_GUIDE_CLOSE_HEIGHT / 2);
    })) << "close button";
}

class StartGuide : public ::testing::Test {
protected:
    void SetUp() override {
        m_manager = ShowInStandIn(m_guide, 700, 500);
        ASSERT_NE(m_guide.Hwnd(), nullptr);
    }

    int m_nMoreGuide = 0;
    CDlgStartGuide m_guide{[this] { ++m_nMoreGuide; }};
    ScopedWindow m_manager;
};

TEST_F(StartGuide, ItsLinkReachesTheHandlerAndItsContentStaysCentred) {
    // Catches a link to the quick guide that does not reach the manager's handler, and content
    // left at the corner when the manager gives the guide the music list's larger place.
    Click(m_guide.Item(IDC_STARTGUIDE_MORE), 3, 3);
    EXPECT_EQ(m_nMoreGuide, 1);

    MoveWindow(m_guide.Hwnd(), 0, 0, 636, 473, TRUE);
    EXPECT_NEAR(Centre(m_guide.Item(IDC_STARTGUIDE_PICTURE)).x, 318, 2);
    EXPECT_NEAR(Centre(m_guide.Item(IDC_STARTGUIDE_MORE)).x, 318, 2);
    POINT heading = Centre(m_guide.Item(IDC_STARTGUIDE_HEADING));
    POINT picture = Centre(m_guide.Item(IDC_STARTGUIDE_PICTURE));
    EXPECT_GT(heading.y, picture.y) << "the block keeps its order";
}

TEST_F(StartGuide, ALanguageSwitchReachesItsTexts) {
    // Catches a guide that keeps the old language's texts after a switch.
    LanguageInUse german("lang_deu.ini");
    SendMessageA(m_guide.Hwnd(), WM_LANGUAGE_CHANGED, 0, 0);
    CLanguageFile file(ProgramFolder() + "\\Lang\\lang_deu.ini");
    EXPECT_EQ(
        WindowText(m_guide.Item(IDC_STARTGUIDE_HEADING)),
        file.Value("DIALOG_IDD_" + std::to_string(IDD_START_GUIDE), std::to_string(IDC_STARTGUIDE_HEADING)));
    EXPECT_NE(WindowText(m_guide.Item(IDC_STARTGUIDE_HEADING)), "Welcome to Quaverlane");
}
