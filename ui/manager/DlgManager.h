// The main window: the hub that the capture intake, the encoders and the tray report to. It
// lives hidden until it is shown; closing it only hides it.
#pragma once

#include "app/framework/Dialog.h"

class CDlgManager : public CDialogBase {
protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnInitDialog();
    void OnCommand(UINT id);
    void OnSysCommand(WPARAM command);
    void Exit();
    // Stores the window's position and size in the settings.
    void StorePlacement();
};
