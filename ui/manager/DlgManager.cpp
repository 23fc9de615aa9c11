#include "ui/manager/DlgManager.h"

#include "app/framework/FolderTree.h"
#include "app/Messages.h"
#include "app/framework/WinApp.h"
#include "app/Settings.h"
#include "app/framework/MessagePump.h"
#include "capture/CaptureIntake.h"
#include "res/resource.h"

CDlgManager::CDlgManager(IManagerHost& host)
    : m_host(host), m_pWatcher(std::make_unique<CaptureFolderWatcher>()) {}

CDlgManager::~CDlgManager() {
    StopCapture();
    Destroy();
}

INT_PTR CDlgManager::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
            StopCapture();
            CWinAppBase::Get()->EndSessionNow();
        }
        return SetResult(0);
    case WM_TIMER:
        if (wParam == kBurnEndTimer) {
            OnBurnEndTimer();
        }
        return TRUE;
    case WM_CAPTURE_EVENT:
        OnCaptureEvent(wParam, reinterpret_cast<char*>(lParam));
        return SetResult(0);
    default:
        return FALSE;
    }
}

BOOL CDlgManager::OnInitDialog() {
    m_host.PublishMainWindow(Hwnd());
    m_pWatcher->SetNotifyWindow(Hwnd());
    // The folder watched is the one wiped at start and exit: one value, made absolute once.
    const std::string& capture = GetSettings().captureFolder;
    CreateFolderTree(capture);
    m_pWatcher->AddFolder(capture);
    GetCaptureIntake().SetCaptureFolder(capture);
    // Without a folder to watch the program still runs; it just receives no burns.
    m_pWatcher->StartWatching();
    GetCaptureIntake().StartConversionThread();
    SetTimer(Hwnd(), kBurnEndTimer, kBurnEndTimerPeriod, nullptr);
    return TRUE;
}

void CDlgManager::OnCaptureEvent(WPARAM action, char* path) {
    if (action == FILE_ACTION_ADDED || action == FILE_ACTION_MODIFIED) {
        GetCaptureIntake().OnCaptureFileEvent(path);
    }
    delete[] path;
}

void CDlgManager::OnBurnEndTimer() {
    int queued = 0;
    GetCaptureIntake().CheckIdleSession(&queued);
}

void CDlgManager::StopCapture() {
    if (!m_bCaptureStopped) {
        m_bCaptureStopped = true;
        GetCaptureIntake().StopConversionThread();
        m_pWatcher->StopWatching();
    }
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
        m_host.ShowHelp();
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
    const CWinAppBase& app = *CWinAppBase::Get();
    if (app.MessageBoxText(app.ResourceString(IDS_CONFIRM_EXIT).c_str(), MB_YESNO | MB_ICONQUESTION,
                           window) != IDYES) {
        return;
    }
    ShowWindow(window, SW_HIDE);
    StopCapture();
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
