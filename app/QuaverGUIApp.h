// The application object: start-up and shut-down of the whole program.
#pragma once

#include "app/SingleInstanceGuard.h"
#include "app/framework/WinApp.h"

#include <memory>

class CDlgManager;

class CQuaverGUIApp : public CWinAppBase {
public:
    CQuaverGUIApp();
    ~CQuaverGUIApp() override;

    // The manager window reports itself once it exists, so that a later copy can find it.
    void SetMainWindowHandle(HWND window);

    // Opens the help file at its introduction page.
    void WinHelp();

protected:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    bool StartComAndOle();
    void LoadProjectAndSettings();
    void WipeCaptureFolderUnlessShared();
    void StartGraphics();
    bool RegisterFrameClass();
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

CQuaverGUIApp& TheApp();
