#include "ui/manager/DlgManager.h"

#include "app/framework/FolderTree.h"
#include "app/Messages.h"
#include "app/framework/WinApp.h"
#include "app/Settings.h"
#include "app/framework/MessagePump.h"
#include "app/framework/PostedPayload.h"
#include "companions/AudioTagCore/EncodeFinishResult.h"
#include "capture/CaptureIntake.h"
#include "res/ids/ManagerIds.h"
#include "res/ids/StringIds.h"
#include "res/ids/TrayIds.h"

CDlgManager::CDlgManager(IManagerHost& host)
    : m_host(host), m_pWatcher(std::make_unique<CaptureFolderWatcher>()),
      m_dlgStatus(GetCaptureIntake().Queue()) {
    OnMessage(WM_SYSCOMMAND, [this](WPARAM command, LPARAM) -> MessageResult {
        if ((command & 0xFFF0) != SC_CLOSE) {
            return {};
        }
        HideToTray();
        return 0;
    });
    OnMessage(WM_QUERYENDSESSION, [this](WPARAM, LPARAM) -> MessageResult {
        // The session may end at any moment after this answer: keep what the user has.
        StorePlacement();
        return TRUE;
    });
    OnMessage(WM_ENDSESSION, [this](WPARAM ending, LPARAM) -> MessageResult {
        if (ending != 0) {
            StopCapture();
            CWinAppBase::Get()->EndSessionNow();
        }
        return 0;
    });
    OnMessage(WM_TIMER, [this](WPARAM timer, LPARAM) -> MessageResult {
        if (timer == kBurnEndTimer) {
            OnBurnEndTimer();
        }
        return 0;
    });
    OnMessage(WM_CAPTURE_EVENT, [this](WPARAM action, LPARAM path) -> MessageResult {
        OnCaptureEvent(action, reinterpret_cast<char*>(path));
        return 0;
    });
    OnMessage(WM_TRACK_ENCODED, [](WPARAM, LPARAM result) -> MessageResult {
        // Until the catalogue records tracks here, the record only has to be freed.
        TakeOwned<_AUDIO_ENCODE_FINISH_RESULT>(result);
        return 0;
    });
    OnCommand(ID_TRAY_EXIT, [this] { Exit(); });
    OnCommand(ID_EXIT_QUAVERLANE, [this] { Exit(); });
    OnCommand(ID_HELP_TOPIC, [this] { m_host.ShowHelp(); });
}

CDlgManager::~CDlgManager() {
    StopCapture();
    Destroy();
}

BOOL CDlgManager::OnInitDialog() {
    m_host.PublishMainWindow(Hwnd());
    m_dlgStatus.Create(CWinAppBase::Get()->Instance());
    m_pWatcher->SetNotifyWindow(Hwnd());
    // The folder watched is the one wiped at start and exit: one value, made absolute once.
    const std::string& capture = GetSettings().captureFolder;
    CreateFolderTree(capture);
    m_pWatcher->AddFolder(capture);
    GetCaptureIntake().SetCaptureFolder(capture);
    // Without a folder to watch the program still runs; it just receives no burns.
    m_pWatcher->StartWatching();
    GetCaptureIntake().SetNotifyWindow(m_dlgStatus.Hwnd());
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
    if (queued != 0) {
        m_dlgStatus.SetShowManagerWhenIdle(true);
    }
}

void CDlgManager::StopCapture() {
    if (!m_bCaptureStopped) {
        m_bCaptureStopped = true;
        GetCaptureIntake().StopConversionThread();
        m_pWatcher->StopWatching();
    }
}

void CDlgManager::HideToTray() {
    ShowWindow(Hwnd(), SW_MINIMIZE);
    ShowWindow(Hwnd(), SW_HIDE);
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
