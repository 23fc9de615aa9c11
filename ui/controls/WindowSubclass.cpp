#include "ui/controls/WindowSubclass.h"

#include <commctrl.h>

namespace {

// Distinct from the id the control wrappers use, so a window may carry both hooks.
constexpr UINT_PTR kSubclassId = 0x51;

} // namespace

CWindowSubclass::~CWindowSubclass() {
    Remove();
}

bool CWindowSubclass::Install(HWND window) {
    Remove();
    if (window == nullptr ||
        !SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hWnd = window;
    return true;
}

void CWindowSubclass::Remove() {
    if (m_hWnd != nullptr) {
        RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
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
                                               UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<CWindowSubclass*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        self->m_hWnd = nullptr;
        self->OnWindowGone();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}
