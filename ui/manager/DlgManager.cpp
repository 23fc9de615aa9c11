#include "ui/manager/DlgManager.h"

#include "app/QuaverGUIApp.h"
#include "app/Settings.h"
#include "res/resource.h"

namespace {

void DispatchPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

INT_PTR CDlgManager::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            OnSysCommand(wParam);
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_QUERYENDSESSION:
        // The session may end at any moment after this answer: keep what the user has.
        StorePlacement();
        return SetResult(TRUE);
    case WM_ENDSESSION:
        if (wParam != 0) {
            TheApp().EndSessionNow();
        }
        return SetResult(0);
    default:
        return FALSE;
    }
}

BOOL CDlgManager::OnInitDialog() {
    TheApp().SetMainWindowHandle(Hwnd());
    return TRUE;
}

void CDlgManager::OnSysCommand(WPARAM) {
    ShowWindow(Hwnd(), SW_MINIMIZE);
    ShowWindow(Hwnd(), SW_HIDE);
}

void CDlgManager::OnCommand(UINT id) {
    switch (id) {
    case ID_TRAY_EXIT:
    case ID_EXIT_QUAVERLANE:
        Exit();
        break;
    case ID_HELP_TOPIC:
        TheApp().WinHelp();
        break;
    default:
        break;
    }
}

void CDlgManager::Exit() {
    HWND window = Hwnd();
    ShowWindow(window, SW_RESTORE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    if (TheApp().MessageBoxText(TheApp().ResourceString(IDS_CONFIRM_EXIT).c_str(), MB_YESNO | MB_ICONQUESTION,
                                window) != IDYES) {
        return;
    }
    ShowWindow(window, SW_HIDE);
    DispatchPendingMessages();
    StorePlacement();
    DestroyWindow(window);
    PostQuitMessage(0);
}

void CDlgManager::StorePlacement() {
    RECT bounds;
    if (!GetWindowRect(Hwnd(), &bounds)) {
        return;
    }
    Settings& settings = GetSettings();
    settings.windowLeft = bounds.left;
    settings.windowTop = bounds.top;
    settings.windowWidth = bounds.right - bounds.left;
    settings.windowHeight = bounds.bottom - bounds.top;
}
