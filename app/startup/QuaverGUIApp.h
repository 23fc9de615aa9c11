// The application object: start-up and shut-down of the whole program.
#pragma once

#include "app/SingleInstanceGuard.h"
#include "app/framework/WinApp.h"
#include "ui/manager/DlgManager.h"

#include <memory>

class CQuaverGUIApp : public CWinAppBase, private IManagerHost {
public:
    CQuaverGUIApp();
    ~CQuaverGUIApp() override;

protected:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    // The manager window reports itself once it exists, so that a later copy can find it.
    void PublishMainWindow(HWND window) override;
    // Opens the help file at its introduction page.
    void ShowHelp() override;

    bool StartComAndOle();
    void LoadProjectAndSettings();
    void WipeCaptureFolderUnlessShared();
    void StartGraphics();
    bool ClaimSingleInstance();
    bool CreateManagerWindow();

    SingleInstanceGuard m_instanceGuard{"Quaverlane"};
    ULONG_PTR m_gdiplusToken = 0;
    BOOL m_bComInitialised = FALSE;
    bool m_bOleInitialised = false;
    // Another copy was running when this one reached the capture-folder wipe.
    bool m_bOtherCopyRunning = false;
    // This copy passed the single-instance check: the capture folder and the project file are
    // its to wipe and to write.
    bool m_bOwnsInstance = false;
    // Start-up stopped short of a running program: the exit code says so.
    bool m_bStartFailed = false;
    std::unique_ptr<CDlgManager> m_pManager;
};
