// A dialog window whose messages go to one virtual handler of the derived class. The static
// procedure stores the object pointer when the dialog is created and forwards every message.
#pragma once

#include <windows.h>

class CDialogBase {
public:
    CDialogBase() = default;
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    bool CreateModeless(HINSTANCE instance, int templateId, HWND parent);
    // Destroys the window while the whole object still exists: the handler sees WM_DESTROY.
    void Destroy();
    HWND Hwnd() const { return m_hWnd; }

protected:
    // Returns TRUE when the message was handled (set a result with SetResult where the message
    // has one), FALSE for the dialog manager's default processing.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    INT_PTR SetResult(LRESULT result);

private:
    static INT_PTR CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
};
