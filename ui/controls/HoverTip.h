// Tooltips over areas of one window: each area (a rectangle in the window's client pixels) has
// its own text, shown while the mouse rests on it. The image panel has one area per region; the
// track panel one over its artwork and one over its location text.
#pragma once

#include <windows.h>

#include <string>

class CHoverTip {
public:
    CHoverTip() = default;
    ~CHoverTip();
    CHoverTip(const CHoverTip&) = delete;
    CHoverTip& operator=(const CHoverTip&) = delete;

    // The tooltip window for the areas of window; made again if there was one.
    bool Create(HWND window);
    void Destroy();
    // Adds an area, or gives an existing one (same id) its new place and text.
    bool SetArea(UINT id, const RECT& area, const std::string& text);
    void RemoveArea(UINT id);
    void RemoveAll();
    // What the area shows; empty when there is no such area.
    std::string Text(UINT id) const;
    int AreaCount() const;
    HWND Hwnd() const { return m_hTip; }

private:
    HWND m_hWnd = nullptr;
    HWND m_hTip = nullptr;
};
