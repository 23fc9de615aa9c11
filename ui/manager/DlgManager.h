// The main window: the hub that the capture intake, the encoders and the tray report to. It
// lives hidden until it is shown; closing it only hides it.
#pragma once

#include "app/framework/Dialog.h"
#include "capture/CaptureFolderWatcher.h"
#include "ui/manager/DlgStatus.h"

#include <memory>

// What the manager window asks of the application that made it.
class IManagerHost {
public:
    // The window is ready: a later copy of the program can now find it.
    virtual void PublishMainWindow(HWND window) = 0;
    virtual void ShowHelp() = 0;

protected:
    ~IManagerHost() = default;
};

class CDlgManager : public CDialogBase {
public:
    explicit CDlgManager(IManagerHost& host);
    ~CDlgManager() override;

    // Stops the conversion thread and then the watcher, in that order, before anything they use
    // goes. Every way out of the program calls it; the second call does nothing.
    void StopCapture();

protected:
    BOOL OnInitDialog() override;

private:
    void HideToTray();
    void OnCaptureEvent(WPARAM action, char* path);
    void OnBurnEndTimer();
    void Exit();
    // Stores the window's position and size in the settings.
    void StorePlacement();

    IManagerHost& m_host;
    std::unique_ptr<CaptureFolderWatcher> m_pWatcher;
    CDlgStatus m_dlgStatus;
    bool m_bCaptureStopped = false;
};
