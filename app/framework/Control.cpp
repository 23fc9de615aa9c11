#include "app/framework/Control.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 1;

} // namespace

CControl::~CControl() {
    Detach();
}

bool CControl::Attach(CDialogBase& parent, int id) {
    Detach();
    HWND window = parent.Item(id);
    if (window == nullptr) {
        return false;
    }
    m_parent = &parent;
    m_hWnd = window;
    m_id = id;
    parent.m_controls[window] = this;
    OnAttached();
    return true;
}

void CControl::Detach() {
    if (m_subclassed && m_hWnd != nullptr) {
        RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    }
    m_subclassed = false;
    if (m_parent != nullptr) {
        m_parent->m_controls.erase(m_hWnd);
        m_parent = nullptr;
    }
    m_hWnd = nullptr;
}

bool CControl::Subclass() {
    if (m_hWnd != nullptr && !m_subclassed) {
        m_subclassed =
            SetWindowSubclass(m_hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    }
    return m_subclassed;
}

LRESULT CControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT CControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<CControl*>(data);
    if (message == WM_NCDESTROY) {
        // The window goes before its wrapper: the wrapper lets go of it here.
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        self->m_subclassed = false;
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (self->m_parent != nullptr) {
            self->m_parent->m_controls.erase(window);
            self->m_parent = nullptr;
        }
        self->m_hWnd = nullptr;
        return result;
    }
    return self->WindowProc(message, wParam, lParam);
}
