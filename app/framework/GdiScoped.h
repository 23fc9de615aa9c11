// Owners for GDI objects, device contexts, modules, icons, menus and plain windows, beside the
// kernel-handle owners: each gives back or deletes what it holds exactly once.
#pragma once

#include "app/framework/Scoped.h"

#include <windows.h>

inline void DeleteGdiObject(HGDIOBJ object) {
    DeleteObject(object);
}
inline void DeleteMemoryDC(HDC dc) {
    DeleteDC(dc);
}
inline void ReleaseModule(HMODULE module) {
    FreeLibrary(module);
}
inline void DestroyIconHandle(HICON icon) {
    DestroyIcon(icon);
}
inline void DestroyMenuHandle(HMENU menu) {
    DestroyMenu(menu);
}
inline void DestroyWindowHandle(HWND window) {
    DestroyWindow(window);
}

template <typename T> using ScopedGdiObject = ScopedResource<T, NullTraits<T, DeleteGdiObject>>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;
// A DC of our own making (CreateCompatibleDC); window DCs are ScopedWindowDC.
using ScopedMemoryDC = ScopedResource<HDC, NullTraits<HDC, DeleteMemoryDC>>;
using ScopedModule = ScopedResource<HMODULE, NullTraits<HMODULE, ReleaseModule>>;
// Icons that were created or loaded with LR_DEFAULTSIZE-less LoadImage (shared icons need no owner).
using ScopedIcon = ScopedResource<HICON, NullTraits<HICON, DestroyIconHandle>>;
// A menu that is not attached to a window (a window destroys its own menu bar).
using ScopedMenu = ScopedResource<HMENU, NullTraits<HMENU, DestroyMenuHandle>>;
// A window that no C++ object stands behind (a message-only window that only collects messages).
using ScopedWindow = ScopedResource<HWND, NullTraits<HWND, DestroyWindowHandle>>;

// A window's DC, released to that window.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~ScopedWindowDC() {
        if (m_dc != nullptr) {
            ReleaseDC(m_window, m_dc);
        }
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint and EndPaint around a WM_PAINT handler.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : m_window(window) { BeginPaint(window, &m_paint); }
    ~ScopedPaint() { EndPaint(m_window, &m_paint); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC Get() const { return m_paint.hdc; }
    const RECT& Dirty() const { return m_paint.rcPaint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};

// An object selected into a DC for the life of the owner; the previous one goes back after.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (m_previous != nullptr && m_previous != HGDI_ERROR) {
            SelectObject(m_dc, m_previous);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// The wait cursor while a slow operation runs on the user-interface thread; the previous cursor
// comes back after.
class ScopedWaitCursor {
public:
    ScopedWaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~ScopedWaitCursor() { SetCursor(m_previous); }
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
