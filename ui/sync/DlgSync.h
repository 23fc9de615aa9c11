// The synchronise dialog: a small modal progress window while the music folder is scanned on a
// worker thread. Cancel asks first; the discs found are handed over only after a scan that ran to
// its end.
#pragma once

#include "app/framework/Dialog.h"
#include "project/MusicFolderSync.h"
#include "ui/controls/TextProgressCtrl.h"

#include <string>

class CDlgSync : public CDialogBase {
public:
    // root: the music folder to scan (the output folder of the settings).
    explicit CDlgSync(const std::string& root);

    // Shows the dialog and scans; IDOK when the scan ran to its end, IDCANCEL when it was
    // cancelled, -1 when the dialog could not be shown.
    INT_PTR Run(HINSTANCE instance, HWND owner);
    // The discs found, for DiscCatalogue::ReplaceAll after IDOK; empty after a cancel.
    DiscCatalogue& Result() { return m_sync.Result(); }

protected:
    BOOL OnInitDialog() override;

private:
    void OnCancel();

    CMusicFolderSync m_sync;
    CTextProgressCtrl m_ctlProgress;
};
