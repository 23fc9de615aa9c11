#include "app/SystemTray.h"

#include "app/Localisation.h"
#include "app/framework/WinApp.h"

namespace {

// The first layout of the record is the one every shell reads; its tip holds 63 characters and
// the terminator, whatever room the record has behind.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
constexpr int kTipSize = 64;
#ifndef _WIN64
static_assert(kRecordSize == 88, "the shell's first record layout");
#endif

// Broadcast by a new taskbar to every top-level window; registered once per process.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

HINSTANCE ProgramModule() {
    return GetModuleHandleA(nullptr);
}

void CopyTip(char* tip, const char* text) {
    lstrcpynA(tip, text != nullptr ? text : "", kTipSize);
}

// The tray menu: the first pop-up of the menu resource named like the icon.
class TrayMenu {
public:
    explicit TrayMenu(UINT iconId) : m_menu(LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(iconId))) {}
    HMENU Popup() const { return m_menu ? GetSubMenu(m_menu.Get(), 0) : nullptr; }

private:
    ScopedMenu m_menu;
};

} // namespace

CSystemTray::CSystemTray(NotifyIconCall notifyIcon) : m_notifyIcon(std::move(notifyIcon)) {}

CSystemTray::~CSystemTray() {
    RemoveIcon();
    m_icons.clear();
    if (HWND window = Hwnd()) {
        DestroyWindow(window);
    }
}

bool CSystemTray::Create(HWND parent, UINT callbackMessage, const char* tooltip, HICON icon, UINT iconId,
                         bool hidden) {
    // The notification area came with the version 4 shells.
    m_bEnabled = LOBYTE(LOWORD(GetVersion())) >= 4;
    if (!m_bEnabled) {
        return false;
    }
    // A pop-up, not a message-only window: only top-level windows hear the taskbar's broadcast.
    // A static control's procedure does nothing for messages it does not know.
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, parent, nullptr, ProgramModule(), nullptr);
    if (window == nullptr || !Install(window)) {
        if (window != nullptr) {
            DestroyWindow(window);
        }
        m_bEnabled = false;
        return false;
    }

    m_nid.cbSize = kRecordSize;
    m_nid.hWnd = parent != nullptr ? parent : window;
    m_nid.uID = iconId;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
    CopyTip(m_nid.szTip, tooltip);

    m_bHidden = hidden;
    m_bRemoved = true;
    if (!hidden) {
        m_bRemoved = !Notify(NIM_ADD, m_nid.uFlags);
        m_bHidden = m_bRemoved;
    }
    return true;
}

void CSystemTray::RemoveIcon() {
    if (!m_bEnabled || m_bRemoved) {
        return;
    }
    Notify(NIM_DELETE, 0);
    m_bRemoved = true;
}

bool CSystemTray::SetIcon(HICON icon) {
    m_nid.hIcon = icon;
    return Modify(NIF_ICON);
}

bool CSystemTray::SetTooltipText(const char* text) {
    CopyTip(m_nid.szTip, text);
    return Modify(NIF_TIP);
}

bool CSystemTray::SetIconList(UINT firstId, UINT lastId) {
    if (firstId > lastId) {
        return false;
    }
    int width = GetSystemMetrics(SM_CXSMICON);
    int height = GetSystemMetrics(SM_CYSMICON);
    std::vector<ScopedIcon> icons;
    for (UINT id = firstId; id <= lastId; ++id) {
        ScopedIcon icon(static_cast<HICON>(
            LoadImageA(ProgramModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, 0)));
        if (icon) {
            icons.push_back(std::move(icon));
        }
    }
    if (icons.empty()) {
        return false;
    }
    m_icons = std::move(icons);
    m_nCurrentIcon = 0;
    return true;
}

void CSystemTray::StepAnimation() {
    if (m_icons.empty()) {
        return;
    }
    m_nCurrentIcon = (m_nCurrentIcon + 1) % m_icons.size();
    SetIcon(m_icons[m_nCurrentIcon].Get());
}

bool CSystemTray::SetMenuDefaultItem(UINT item, bool byPosition) {
    m_nDefaultItem = item;
    m_bDefaultByPosition = byPosition;
    TrayMenu menu(m_nid.uID);
    HMENU popup = menu.Popup();
    return popup != nullptr && ::SetMenuDefaultItem(popup, item, byPosition ? TRUE : FALSE);
}

void CSystemTray::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_nid.uID) {
        return;
    }
    CWinAppBase* app = CWinAppBase::Get();
    HWND target = app != nullptr ? app->MainWindow() : nullptr;
    if (target == nullptr) {
        return;
    }
    if (LOWORD(lParam) == WM_RBUTTONUP) {
        ShowMenu(target);
    } else if (LOWORD(lParam) == WM_LBUTTONDBLCLK) {
        RunDefaultItem(target);
    }
}

void CSystemTray::ShowMenu(HWND target) {
    TrayMenu menu(m_nid.uID);
    HMENU popup = menu.Popup();
    if (popup == nullptr) {
        return;
    }
    ::SetMenuDefaultItem(popup, m_nDefaultItem, m_bDefaultByPosition ? TRUE : FALSE);
    LocaliseMenu(popup);
    CustomizeMenu(popup);
    // Without the foreground the menu stays open when the user clicks elsewhere; without a
    // message after it, the next menu shown closes as soon as it opens.
    SetForegroundWindow(target);
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, target, nullptr);
    PostMessageA(target, WM_NULL, 0, 0);
}

void CSystemTray::RunDefaultItem(HWND target) {
    UINT command = m_nDefaultItem;
    if (m_bDefaultByPosition) {
        TrayMenu menu(m_nid.uID);
        HMENU popup = menu.Popup();
        command = popup != nullptr ? GetMenuItemID(popup, static_cast<int>(m_nDefaultItem)) : 0;
    }
    SetForegroundWindow(target);
    PostMessageA(target, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_nid.uCallbackMessage) {
        OnTrayNotification(wParam, lParam);
        return 0;
    }
    if (message == TaskbarCreatedMessage() || (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA)) {
        AddAgain();
    }
    return DefaultProc(message, wParam, lParam);
}

void CSystemTray::AddAgain() {
    if (!IsShowing()) {
        return;
    }
    // Where the icon survived (a work-area change) the shell refuses the add; it still shows.
    Notify(NIM_ADD, m_nid.uFlags);
}

bool CSystemTray::Notify(DWORD message, UINT flags) {
    NOTIFYICONDATAA record = m_nid;
    record.uFlags = flags;
    return m_notifyIcon(message, &record) != FALSE;
}
