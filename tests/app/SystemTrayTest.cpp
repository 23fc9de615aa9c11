// The tray icon against a recording shell: what reaches the shell and when, the animation, the
// taskbar's restart, and the menu and the double click as the main window sees them. One case
// runs the real shell.
#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "app/SystemTray.h"
#include "app/framework/AppFolders.h"
#include "app/framework/MessagePump.h"
#include "app/framework/WinApp.h"
#include "res/ids/ArtIds.h"
#include "res/ids/TrayIds.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kIconId = IDR_TRAY_MENU;

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAA record;
};

// The notification area as a list of what it was asked; it refuses everything while told to.
struct RecordingShell {
    std::vector<ShellCall> calls;
    bool refuse = false;

    CSystemTray::NotifyIconCall Call() {
        return [this](DWORD message, NOTIFYICONDATAA* record) {
            calls.push_back({message, *record});
            return refuse ? FALSE : TRUE;
        };
    }
};

class TestApp final : public CWinAppBase {
    bool InitInstance() override { return false; }
};

// Stands in for the main window: keeps what the tray makes it receive.
struct MainWindowStandIn {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) {
            commands.push_back(LOWORD(wParam));
        } else if (message == WM_INITMENUPOPUP) {
            ++menusOpened;
        } else if (message == WM_NULL) {
            ++emptyMessages;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static inline std::vector<UINT> commands;
    static inline int menusOpened = 0;
    static inline int emptyMessages = 0;
};

// What the open tray menu showed when the timer found it.
struct MenuSeen {
    std::vector<std::string> texts;
    UINT defaultItem = 0;
    int timesFound = 0;
};
MenuSeen g_menuSeen;

std::string ItemText(HMENU menu, int position) {
    char text[256] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

// Runs inside the menu's own loop: reads the menu that is open and closes it.
void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = AppControl::FindPopupMenu(GetCurrentProcessId());
    if (window == nullptr) {
        return;
    }
    auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    ++g_menuSeen.timesFound;
    g_menuSeen.texts.clear();
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        g_menuSeen.texts.push_back(ItemText(menu, position));
    }
    g_menuSeen.defaultItem = GetMenuDefaultItem(menu, FALSE, 0);
    EndMenu();
}

class SystemTray : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA standIn{};
        standIn.lpfnWndProc = MainWindowStandIn::Proc;
        standIn.lpszClassName = "QvlTrayMainStandIn";
        RegisterClassA(&standIn);
        m_main = CreateWindowA(standIn.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
        m_app.SetMainWindow(m_main);
        MainWindowStandIn::commands.clear();
        MainWindowStandIn::menusOpened = 0;
        MainWindowStandIn::emptyMessages = 0;
        g_menuSeen = MenuSeen{};
        m_timer = SetTimer(nullptr, 0, 50, CloseOpenMenu);
    }
    void TearDown() override {
        KillTimer(nullptr, m_timer);
        DestroyWindow(m_main);
    }
    bool Create(CSystemTray& tray, const char* tooltip = " Quaverlane", bool hidden = false) {
        return tray.Create(nullptr, WM_TRAY_NOTIFICATION, tooltip, m_appIcon, kIconId, hidden);
    }
    static void Click(CSystemTray& tray, LPARAM mouseMessage, UINT iconId = kIconId) {
        SendMessageA(tray.Hwnd(), WM_TRAY_NOTIFICATION, iconId, mouseMessage);
        DispatchPendingMessages();
    }
    static void TaskbarRestarted(CSystemTray& tray) {
        SendMessageA(tray.Hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    }

    TestApp m_app;
    HWND m_main = nullptr;
    UINT_PTR m_timer = 0;
    HICON m_appIcon = LoadIconA(nullptr, IDI_APPLICATION);
    RecordingShell m_shell;
};

const std::string kSeventy(70, 'x');
const std::string kSixtyThree(63, 'x');

} // namespace

TEST_F(SystemTray, TheShellGetsTheFirstLayoutFlagsPerChangeAndTipsCutAt63) {
    // Catches a record sized for a later shell, a tip that overruns its 64 bytes, changes that
    // resend fields they did not touch, and an icon left behind when the tray goes.
    {
        CSystemTray tray(m_shell.Call());
        ASSERT_TRUE(Create(tray, kSeventy.c_str()));
        tray.SetTooltipText(("y" + kSeventy).c_str());
        HICON other = LoadIconA(nullptr, IDI_WARNING);
        tray.SetIcon(other);
        ASSERT_EQ(m_shell.calls.size(), 3u);

        const NOTIFYICONDATAA& add = m_shell.calls[0].record;
        EXPECT_EQ(m_shell.calls[0].message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(add.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
        EXPECT_EQ(add.hWnd, tray.Hwnd()) << "without a parent the tray's own window takes the callbacks";
        EXPECT_EQ(add.uID, kIconId);
        EXPECT_EQ(add.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(add.uCallbackMessage, WM_TRAY_NOTIFICATION);
        EXPECT_EQ(add.hIcon, m_appIcon);
        EXPECT_EQ(std::string(add.szTip), kSixtyThree);

        EXPECT_EQ(m_shell.calls[1].message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(m_shell.calls[1].record.uFlags, static_cast<UINT>(NIF_TIP));
        EXPECT_EQ(std::string(m_shell.calls[1].record.szTip), "y" + kSixtyThree.substr(1));
        EXPECT_EQ(m_shell.calls[2].record.uFlags, static_cast<UINT>(NIF_ICON));
        EXPECT_EQ(m_shell.calls[2].record.hIcon, other);
    }
    ASSERT_EQ(m_shell.calls.size(), 4u);
    EXPECT_EQ(m_shell.calls[3].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(m_shell.calls[3].record.uID, kIconId);
}

TEST_F(SystemTray, TheAnimationWrapsThroughItsOwnListAndKeepsItAgainstABadRange) {
    // Catches an animation that runs past the end of its list, shows icons that are not its
    // list's, or loses its list to a reversed or empty range.
    CSystemTray tray(m_shell.Call());
    ASSERT_TRUE(Create(tray));
    tray.StepAnimation();
    EXPECT_EQ(m_shell.calls.size(), 1u) << "no list, no step";
    ASSERT_TRUE(tray.SetIconList(IDI_TRAY_1, IDI_TRAY_4));
    EXPECT_FALSE(tray.SetIconList(IDI_TRAY_4, IDI_TRAY_1));
    EXPECT_FALSE(tray.SetIconList(900, 903)) << "no such icons";

    std::vector<HICON> shown;
    for (int step = 0; step < 6; ++step) {
        tray.StepAnimation();
        shown.push_back(m_shell.calls.back().record.hIcon);
    }
    ASSERT_EQ(m_shell.calls.size(), 7u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(shown[i], nullptr);
        EXPECT_NE(shown[i], m_appIcon);
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(shown[i], shown[j]) << "four different icons, steps " << i << " and " << j;
        }
    }
    EXPECT_EQ(shown[4], shown[0]) << "after the fourth icon the first again";
    EXPECT_EQ(shown[5], shown[1]);
}

TEST_F(SystemTray, ANewTaskbarGetsBackTheIconThatWasShowing) {
    // Catches an icon lost when the taskbar restarts or the work area changes, or put back with
    // the icon it started with instead of the animation's current one.
    CSystemTray tray(m_shell.Call());
    ASSERT_TRUE(Create(tray));
    ASSERT_TRUE(tray.SetIconList(IDI_TRAY_1, IDI_TRAY_4));
    tray.StepAnimation();
    tray.StepAnimation();
    HICON showing = m_shell.calls.back().record.hIcon;

    TaskbarRestarted(tray);
    SendMessageA(tray.Hwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    SendMessageA(tray.Hwnd(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    ASSERT_EQ(m_shell.calls.size(), 5u) << "one add for each of the two, none for the wallpaper";
    for (size_t i : {3u, 4u}) {
        EXPECT_EQ(m_shell.calls[i].message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(m_shell.calls[i].record.hIcon, showing);
        EXPECT_EQ(m_shell.calls[i].record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    }

    tray.RemoveIcon();
    TaskbarRestarted(tray);
    EXPECT_EQ(m_shell.calls.size(), 6u) << "a removed icon stays away";
}

TEST_F(SystemTray, AnIconHiddenOrRefusedSendsNothingMore) {
    // Catches modifications, re-adds and deletes sent for an icon that is not in the
    // notification area: asked to stay hidden, or refused by the shell.
    for (bool refused : {false, true}) {
        RecordingShell shell;
        shell.refuse = refused;
        CSystemTray tray(shell.Call());
        ASSERT_TRUE(Create(tray, " Quaverlane", !refused));
        EXPECT_EQ(shell.calls.size(), refused ? 1u : 0u);
        shell.refuse = false;
        ASSERT_TRUE(tray.SetIconList(IDI_TRAY_1, IDI_TRAY_4));
        tray.StepAnimation();
        tray.SetTooltipText("Quaverlane Virtual CD Burner on:\nE:");
        tray.SetIcon(m_appIcon);
        TaskbarRestarted(tray);
        tray.RemoveIcon();
        EXPECT_EQ(shell.calls.size(), refused ? 1u : 0u) << (refused ? "refused" : "hidden");
    }
}

TEST_F(SystemTray, ADoubleClickPostsTheDefaultCommandToTheMainWindowWithoutAMenu) {
    // Catches a double click that runs another command than the default item, sends it
    // elsewhere than the main window, opens the menu, or answers another icon's clicks.
    CSystemTray tray(m_shell.Call());
    ASSERT_TRUE(Create(tray));
    ASSERT_TRUE(tray.SetMenuDefaultItem(ID_TRAY_SHOW_MANAGER, false));
    Click(tray, WM_LBUTTONDBLCLK);
    Click(tray, WM_LBUTTONDBLCLK, kIconId + 1);
    // Position 7 is "E&xit".
    ASSERT_TRUE(tray.SetMenuDefaultItem(7, true));
    Click(tray, WM_LBUTTONDBLCLK);
    EXPECT_EQ(MainWindowStandIn::commands, (std::vector<UINT>{ID_TRAY_SHOW_MANAGER, ID_TRAY_EXIT}));
    EXPECT_EQ(MainWindowStandIn::menusOpened, 0);
    EXPECT_EQ(g_menuSeen.timesFound, 0);
    EXPECT_FALSE(tray.SetMenuDefaultItem(99, true)) << "the menu has eight items";
}

TEST_F(SystemTray, ARightClickShowsTheLocalisedTrayMenuOwnedByTheMainWindow) {
    // Catches a tray menu shown in English under another language, without its default item,
    // owned by another window than the main window, or without the message that lets the next
    // menu close properly.
    Settings& settings = GetSettings();
    std::string before = settings.languageFile;
    settings.languageFile = "lang_deu.ini";
    CSystemTray tray(m_shell.Call());
    ASSERT_TRUE(Create(tray));
    ASSERT_TRUE(tray.SetMenuDefaultItem(ID_TRAY_SHOW_MANAGER, false));
    Click(tray, WM_RBUTTONUP);
    settings.languageFile = before;

    CLanguageFile german(ProgramFolder() + "\\Lang\\lang_deu.ini");
    ASSERT_EQ(g_menuSeen.timesFound, 1);
    ASSERT_EQ(g_menuSeen.texts.size(), 8u);
    EXPECT_EQ(g_menuSeen.texts[5], german.Value("MENU", std::to_string(ID_TRAY_SHOW_MANAGER)));
    EXPECT_EQ(g_menuSeen.texts[7], german.Value("MENU", std::to_string(ID_TRAY_EXIT)));
    EXPECT_NE(g_menuSeen.texts[7], "E&xit");
    EXPECT_EQ(g_menuSeen.defaultItem, static_cast<UINT>(ID_TRAY_SHOW_MANAGER));
    EXPECT_GE(MainWindowStandIn::menusOpened, 1);
    EXPECT_GE(MainWindowStandIn::emptyMessages, 1);
    EXPECT_TRUE(MainWindowStandIn::commands.empty()) << "closed without a choice";
}

TEST_F(SystemTray, TheRealShellTakesTheIconItsChangesAndItsRemoval) {
    // Catches a record the real notification area refuses or crashes on.
    std::vector<std::pair<DWORD, BOOL>> answers;
    CSystemTray tray([&answers](DWORD message, NOTIFYICONDATAA* record) {
        BOOL answer = Shell_NotifyIconA(message, record);
        answers.emplace_back(message, answer);
        return answer;
    });
    ASSERT_TRUE(Create(tray));
    ASSERT_TRUE(tray.SetIconList(IDI_TRAY_1, IDI_TRAY_4));
    tray.StepAnimation();
    tray.SetTooltipText(kSeventy.c_str());
    tray.RemoveIcon();
    ASSERT_EQ(answers.size(), 4u);
    for (const auto& [message, answer] : answers) {
        EXPECT_TRUE(answer) << "message " << message;
    }
}
