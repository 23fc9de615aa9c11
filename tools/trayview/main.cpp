// Shows the tray menu as a right click on the program's icon shows it, with the texts of one of
// the program's language files, and saves what the screen shows of the menu as a bitmap.
//   trayview <language file in the Lang folder, or -> <output.bmp>
#include "app/Messages.h"
#include "app/Settings.h"
#include "app/SystemTray.h"
#include "app/framework/WinApp.h"
#include "res/ids/ArtIds.h"
#include "res/ids/TrayIds.h"
#include "tools/control/AppControl.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

class ViewApp final : public CWinAppBase {
    bool InitInstance() override { return false; }
};

std::string g_picture;
bool g_saved = false;

// Runs inside the menu's own loop, once the menu has had time to paint.
void CALLBACK SaveOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = AppControl::FindPopupMenu(GetCurrentProcessId());
    if (menu == nullptr) {
        return;
    }
    RECT place;
    GetWindowRect(menu, &place);
    g_saved = AppControl::SaveScreenPicture(place, g_picture);
    EndMenu();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: trayview <language file or -> <output.bmp>\n");
        return 2;
    }
    GetSettings().languageFile = std::string(argv[1]) == "-" ? std::string() : argv[1];
    g_picture = argv[2];
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ViewApp app;
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    app.SetMainWindow(owner);

    // Set up as the manager window sets it up.
    CSystemTray tray;
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAINFRAME));
    if (!tray.Create(nullptr, WM_TRAY_NOTIFICATION, " Quaverlane", icon, IDR_TRAY_MENU)) {
        fprintf(stderr, "trayview: the tray icon cannot be created\n");
        return 1;
    }
    tray.SetIconList(IDI_TRAY_1, IDI_TRAY_4);
    tray.StepAnimation();
    tray.SetMenuDefaultItem(ID_TRAY_SHOW_MANAGER, false);

    SetCursorPos(200, 150);
    SetTimer(nullptr, 0, 400, SaveOpenMenu);
    SendMessageA(tray.Hwnd(), WM_TRAY_NOTIFICATION, IDR_TRAY_MENU, WM_RBUTTONUP);
    DestroyWindow(owner);
    return g_saved ? 0 : 1;
}
