#include "ui/controls/LayoutManager.h"

#include "ui/controls/ToolkitMessages.h"

bool CLayoutManager::Attach(HWND dialog, std::initializer_list<Anchor> anchors) {
    m_layout.Attach(dialog, anchors);
    return Install(dialog);
}

LRESULT CLayoutManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            m_layout.Apply();
            SendMessageA(Hwnd(), LayoutManagerMessage(), LOWORD(lParam), HIWORD(lParam));
        }
        break;
    case WM_GETMINMAXINFO: {
        LRESULT result = DefaultProc(message, wParam, lParam);
        auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
        limits.ptMinTrackSize = {MinimumSize().cx, MinimumSize().cy};
        return result;
    }
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
