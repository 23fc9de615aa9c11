#include "app/framework/Dialog.h"

CDialogBase::~CDialogBase() {
    // The derived object is gone by now: the window is cut loose from this object first, so that
    // the messages of its destruction reach no handler. A class that wants to see them calls
    // Destroy from its own destructor.
    if (m_hWnd != nullptr) {
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        DestroyWindow(window);
    }
}

bool CDialogBase::CreateModeless(HINSTANCE instance, int templateId, HWND parent) {
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, StaticProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialogBase::Destroy() {
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialogBase::SetResult(LRESULT result) {
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK CDialogBase::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialogBase*>(lParam);
        self->m_hWnd = window;
        SetWindowLongPtrA(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR handled = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return handled;
}
