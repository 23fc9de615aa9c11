// A hook in front of a window's own procedure: a control wrapper's, a list view's header, an
// editor made on the fly. The hook goes when the window goes or when its owner does, whichever
// comes first. A window may carry several hooks.
#pragma once

#include <windows.h>

class CWindowSubclass {
public:
    CWindowSubclass() = default;
    virtual ~CWindowSubclass();
    CWindowSubclass(const CWindowSubclass&) = delete;
    CWindowSubclass& operator=(const CWindowSubclass&) = delete;

    bool Install(HWND window);
    void Remove();
    HWND Hwnd() const { return m_hWnd; }
    bool IsInstalled() const { return m_hWnd != nullptr; }

    // The window's procedure behind this hook.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window is being destroyed; the hook is already gone.
    virtual void OnWindowGone() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    HWND m_hWnd = nullptr;
};
