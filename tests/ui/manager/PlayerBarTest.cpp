// The player bar in this process, built from the program's own resources: what its buttons ask of
// the manager, and what its scrolling line says.
#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/AppFolders.h"
#include "res/ids/PlayerIds.h"
#include "res/ids/StringIds.h"
#include "tests/ui/manager/WindowTestSupport.h"
#include "ui/manager/DlgPlayer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using namespace uitest;

namespace {

enum class Action { Previous, Play, Pause, Stop, Next };

std::ostream& operator<<(std::ostream& out, Action action) {
    static const char* const names[] = {"previous", "play", "pause", "stop", "next"};
    return out << names[static_cast<int>(action)];
}

// Stands in for the manager: notes what the bar asks of it.
class RecordingActions final : public IPlayerActions {
public:
    void PreviousTrack() override { asked.push_back(Action::Previous); }
    void PlayOrResume() override { asked.push_back(Action::Play); }
    void Pause() override { asked.push_back(Action::Pause); }
    void Stop() override { asked.push_back(Action::Stop); }
    void NextTrack() override { asked.push_back(Action::Next); }
    std::vector<Action> asked;
};

class PlayerBar : public ::testing::Test {
protected:
    void SetUp() override {
        m_manager = ShowInStandIn(m_bar, 300, 80);
        ASSERT_NE(m_bar.Hwnd(), nullptr);
    }
    RECT Place(int id) const {
        RECT place;
        GetWindowRect(m_bar.Item(id), &place);
        MapWindowPoints(nullptr, m_bar.Hwnd(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }
    const std::string& NowPlaying() const { return m_bar.Marquee().Items().front().text; }

    RecordingActions m_actions;
    CDlgPlayer m_bar{m_actions};
    ScopedWindow m_manager;
};

} // namespace

TEST_F(PlayerBar, EachButtonAndTheHiddenStopAskTheManagerForTheirOwnAction) {
    // Catches a region table, panel target or message that sends a button's click to another
    // action, or the hidden Stop button left unwired.
    HWND buttons = m_bar.Item(IDC_PLAYER_BUTTONS);
    for (int region = 0; region < 5; ++region) {
        Click(buttons, 41 + 25 * region + 12, 12);
    }
    Click(buttons, 65, 12); // between two buttons
    SendMessageA(m_bar.Hwnd(), WM_PANEL_BUTTON, 5, 0);
    SendMessageA(m_bar.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_PLAYER_STOP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_bar.Item(IDC_PLAYER_STOP)));
    EXPECT_EQ(m_actions.asked, (std::vector<Action>{Action::Previous, Action::Play, Action::Pause,
                                                    Action::Stop, Action::Next, Action::Stop}));
}

TEST_F(PlayerBar, TheLineSaysWhatPlaysAndTheTimeInExactlyTheirTexts) {
    // Catches a now-playing text or time text other than the exact ones (format, blanks), and a
    // now-playing text that stays in the old language after a switch.
    LanguageInUse english("lang_eng.ini");
    EXPECT_EQ(NowPlaying(), "Now playing...");
    const std::string path = "C:\\Music\\Best Of\\A-B.MP3";
    m_bar.SetNowPlaying(path);
    EXPECT_EQ(NowPlaying(), "Now playing: " + path);
    m_bar.SetTimeText("1:05-3:20");
    EXPECT_EQ(m_bar.Marquee().Text(), "     1:05-3:20    ");

    LanguageInUse german("lang_deu.ini");
    SendMessageA(m_bar.Hwnd(), WM_LANGUAGE_CHANGED, 0, 0);
    std::string format = CLanguageFile(ProgramFolder() + "\\Lang\\lang_deu.ini").String(IDS_NOW_PLAYING);
    ASSERT_NE(format.find("%s"), std::string::npos);
    EXPECT_EQ(NowPlaying(), format.replace(format.find("%s"), 2, path));
}

TEST_F(PlayerBar, TheLineIsSetTo210PixelsAndTheButtonsSitDirectlyBelowIt) {
    // Catches the scrolling line left at the template's width, which follows the dialog font, or
    // the buttons not directly below it at their pictures' size (the regions would miss the
    // buttons drawn in the pictures).
    RECT line = Place(IDC_PLAYER_TIME);
    RECT buttons = Place(IDC_PLAYER_BUTTONS);
    EXPECT_EQ(line.right - line.left, 210);
    EXPECT_EQ(buttons.left, line.left);
    EXPECT_EQ(buttons.top, line.bottom);
    EXPECT_EQ(buttons.right - buttons.left, 210);
    EXPECT_EQ(buttons.bottom - buttons.top, 28);
}
