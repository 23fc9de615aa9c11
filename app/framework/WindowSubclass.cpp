#include "app/framework/WindowSubclass.h"

#include <commctrl.h>

namespace {

// Each hook is told apart by its object, so that one window may carry several.
UINT_PTR HookId(const CWindowSubclass* hook) {
    return reinterpret_cast<UINT_PTR>(hook);
}

} // namespace

CWindowSubclass::~CWindowSubclass() {
    Remove();
}

bool CWindowSubclass::Install(HWND window) {
    Remove();
    if (window == nullptr ||
        !SetWindowSubclass(window, SubclassProc, HookId(this), reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hWnd = window;
    return true;
}

void CWindowSubclass::Remove() {
    if (m_hWnd != nullptr) {
        RemoveWindowSubclass(m_hWnd, SubclassProc, HookId(this));
        m_hWnd = nullptr;
    }
}

LRESULT CWindowSubclass::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT CWindowSubclass::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowSubclass::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<CWindowSubclass*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, id);
        self->m_hWnd = nullptr;
        self->OnWindowGone();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}
