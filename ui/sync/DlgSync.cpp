#include "ui/sync/DlgSync.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/WinApp.h"
#include "res/ids/StringIds.h"
#include "res/ids/SyncIds.h"

CDlgSync::CDlgSync(const std::string& root) : m_sync(root) {
    OnMessage(WM_SYNC_PROGRESS, [this](WPARAM processed, LPARAM total) -> MessageResult {
        m_ctlProgress.SetPos(ProgressPercent(static_cast<unsigned>(processed), static_cast<unsigned>(total)));
        return 0;
    });
    OnMessage(WM_SYNC_DONE, [this](WPARAM, LPARAM) -> MessageResult {
        // The worker posts before it sets its done event: the result is the caller's only after.
        m_sync.WaitWhileDispatching();
        EndModal(m_sync.IsCancelled() ? IDCANCEL : IDOK);
        return 0;
    });
    // The Cancel button, Escape and the close box all come here.
    OnCommand(IDCANCEL, [this] { OnCancel(); });
}

INT_PTR CDlgSync::Run(HINSTANCE instance, HWND owner) {
    return DoModal(instance, IDD_SYNC, owner);
}

BOOL CDlgSync::OnInitDialog() {
    LocaliseDialog(Hwnd(), IDD_SYNC);
    m_ctlProgress.Attach(*this, IDC_SYNC_PROGRESS);
    if (!m_sync.Start(Hwnd())) {
        EndModal(IDCANCEL);
    }
    return TRUE;
}

void CDlgSync::OnCancel() {
    if (CWinAppBase::Get()->MessageBoxText(LoadLangString(IDS_CONFIRM_CANCEL_SYNC).c_str(),
                                           MB_YESNO | MB_ICONQUESTION, Hwnd()) != IDYES) {
        return;
    }
    m_sync.Cancel();
    m_sync.WaitWhileDispatching();
    // A scan that reached its end while the question was open is dropped all the same.
    m_sync.Result().Clear();
    EndModal(IDCANCEL);
}
