#include "app/framework/Control.h"

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
    m_hook.Remove();
    if (m_parent != nullptr) {
        m_parent->m_controls.erase(m_hWnd);
        m_parent = nullptr;
    }
    m_hWnd = nullptr;
}

bool CControl::Subclass() {
    return m_hook.IsInstalled() || (m_hWnd != nullptr && m_hook.Install(m_hWnd));
}

LRESULT CControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT CControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hook.DefaultProc(message, wParam, lParam);
}
