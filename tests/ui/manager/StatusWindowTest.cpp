// The status window in this process, built from the program's own resources: where it shows,
// what its bar and texts say through an encoding, what it hands on to the manager window, and how
// a language switch reaches its panel.
#include "app/FrameWindowClass.h"
#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "app/framework/AppFolders.h"
#include "app/framework/MessagePump.h"
#include "app/framework/WinApp.h"
#include "capture/TrackQueue.h"
#include "res/ids/StatusIds.h"
#include "res/ids/StringIds.h"
#include "tests/support/TestSupport.h"
#include "ui/manager/DlgStatus.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

using namespace qvltest;

namespace {

// The application object the status window finds the manager window through.
class TestApp final : public CWinAppBase {
    bool InitInstance() override { return false; }
};

// Stands in for the manager window: counts what is sent to it.
struct ManagerStandIn {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TRACK_ENCODED) {
            received.push_back(lParam);
            return 7;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static inline std::vector<LPARAM> received;
};

class StatusWindow : public ::testing::Test {
protected:
    void SetUp() override {
        InitializeCriticalSection(&m_lock);
        ASSERT_TRUE(RegisterFrameWindowClass(GetModuleHandleA(nullptr)));
        WNDCLASSA standIn{};
        standIn.lpfnWndProc = ManagerStandIn::Proc;
        standIn.lpszClassName = "QvlManagerStandIn";
        RegisterClassA(&standIn);
        m_manager = CreateWindowA("QvlManagerStandIn", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
        m_app.SetMainWindow(m_manager);
        ASSERT_TRUE(m_status.Create(GetModuleHandleA(nullptr)));
    }
    void TearDown() override {
        m_status.Destroy();
        DestroyWindow(m_manager);
        DeleteCriticalSection(&m_lock);
    }
    void Progress(unsigned done, unsigned total) {
        PostMessageA(m_status.Hwnd(), WM_ENCODE_PROGRESS, done, total);
        DispatchPendingMessages();
    }
    std::string Text(int id) const {
        char text[256] = "";
        GetWindowTextA(m_status.Item(id), text, sizeof text);
        return text;
    }
    int BarPosition() const {
        return static_cast<int>(SendMessageA(m_status.Item(IDC_STATUS_PROGRESS), PBM_GETPOS, 0, 0));
    }
    static RECT Corner() {
        RECT workArea{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
        return StatusCornerPlace(workArea);
    }
    RECT Place() const {
        RECT place;
        GetWindowRect(m_status.Hwnd(), &place);
        return place;
    }

    TestApp m_app;
    HWND m_manager = nullptr;
    IntakeEnvironment m_environment;
    CRITICAL_SECTION m_lock{};
    TrackQueue m_queue{m_environment, m_lock};
    CDlgStatus m_status{m_queue};
};

// The tooltip texts of the panel's regions, as the tooltip window holds them.
std::vector<std::string> PanelTips(HWND panel) {
    std::vector<std::string> texts;
    std::pair<HWND, std::vector<std::string>*> search(panel, &texts);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM into) {
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0) {
                return TRUE;
            }
            auto& found = *reinterpret_cast<std::pair<HWND, std::vector<std::string>*>*>(into);
            int count = static_cast<int>(SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char text[256] = "";
                TOOLINFOA tool{};
                tool.cbSize = sizeof tool;
                tool.lpszText = text;
                if (SendMessageA(window, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)) &&
                    tool.hwnd == found.first) {
                    found.second->push_back(text);
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return texts;
}

} // namespace

TEST(StatusProgress, TheFractionIsRoundedToTheNearestPercent) {
    EXPECT_EQ(ProgressPercent(1, 200), 1) << "0.005 and 0.005 round up";
    EXPECT_EQ(ProgressPercent(199, 200), 100);
    EXPECT_EQ(ProgressPercent(0, 200), 0);
    EXPECT_EQ(ProgressPercent(994, 1000), 99);
}

TEST_F(StatusWindow, AnEncodingShowsItAtTheCornerWithItsBarAndTheEndHidesIt) {
    EXPECT_FALSE(IsWindowVisible(m_status.Hwnd())) << "created hidden";
    Progress(10, 0);
    EXPECT_FALSE(IsWindowVisible(m_status.Hwnd())) << "a total of 0 is ignored";

    Progress(1, 200);
    ASSERT_TRUE(IsWindowVisible(m_status.Hwnd()));
    RECT corner = Corner();
    RECT place = Place();
    EXPECT_TRUE(EqualRect(&place, &corner)) << place.left << "," << place.top;
    EXPECT_EQ(Text(IDC_STATUS_CAPTION), LoadLangString(IDS_ENCODING));
    EXPECT_EQ(BarPosition(), 1);
    Progress(150, 200);
    EXPECT_EQ(BarPosition(), 75);
    EXPECT_NE(GetWindowLongPtrA(m_status.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    Progress(250, 200);
    EXPECT_FALSE(IsWindowVisible(m_status.Hwnd())) << "done beyond the total counts as finished";
    EXPECT_EQ(BarPosition(), 75) << "the bar stays where it was";
    EXPECT_EQ(Text(IDC_STATUS_CAPTION), LoadLangString(IDS_ENCODING)) << "the label stays too";

    // Dragged away while shown, it comes back to the corner the next time it shows.
    Progress(1, 200);
    SetWindowPos(m_status.Hwnd(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Progress(200, 200);
    Progress(1, 200);
    place = Place();
    EXPECT_TRUE(EqualRect(&place, &corner));
}

TEST_F(StatusWindow, FinishedTracksAreHandedOnAtOnceEvenWhileItIsHidden) {
    ManagerStandIn::received.clear();
    EXPECT_FALSE(IsWindowVisible(m_status.Hwnd()));
    EXPECT_EQ(SendMessageA(m_status.Hwnd(), WM_TRACK_ENCODED, 0, 1234), 7)
        << "the manager's answer comes back";
    EXPECT_EQ(ManagerStandIn::received, std::vector<LPARAM>{1234});

    // The panel's close region hides, its other region brings the manager forward.
    Progress(1, 200);
    SendMessageA(m_status.Hwnd(), WM_STATUS_HOTSPOT, 1, 0);
    EXPECT_FALSE(IsWindowVisible(m_status.Hwnd()));
    Progress(2, 200);
    EXPECT_TRUE(IsWindowVisible(m_status.Hwnd())) << "hiding lasts until the next progress";
    SendMessageA(m_status.Hwnd(), WM_STATUS_HOTSPOT, 0, 0);
    EXPECT_TRUE(IsWindowVisible(m_manager));
}

TEST_F(StatusWindow, ALanguageSwitchGivesThePanelTheNewTooltips) {
    HWND panel = m_status.Item(IDC_STATUS_PANEL);
    Settings& settings = GetSettings();
    std::string before = settings.languageFile;
    settings.languageFile = "lang_eng.ini";
    SendMessageA(m_status.Hwnd(), WM_LANGUAGE_CHANGED, 0, 0);
    std::vector<std::string> english = PanelTips(panel);
    settings.languageFile = "lang_deu.ini";
    SendMessageA(m_status.Hwnd(), WM_LANGUAGE_CHANGED, 0, 0);
    std::vector<std::string> german = PanelTips(panel);
    settings.languageFile = before;
    ASSERT_EQ(english.size(), 2u);
    EXPECT_EQ(english[0], "Open Disc Manager Window");
    ASSERT_EQ(german.size(), 2u);
    EXPECT_EQ(german[0],
              CLanguageFile(ProgramFolder() + "\\Lang\\lang_deu.ini").String(IDS_TIP_OPEN_MANAGER));
    EXPECT_NE(german[0], english[0]);
}
