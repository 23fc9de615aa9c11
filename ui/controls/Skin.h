// The one look of every window: the colours, brushes, pens and fonts of the skin (a dark slate
// body with a single teal accent), and the helpers that draw a skin picture as a window's
// background and cut a frameless window to the shape of its skin.
#pragma once

#include "app/framework/GdiScoped.h"

#include <windows.h>

#include <array>

// The colour that a skin picture marks as "no window here".
constexpr COLORREF kSkinColourKey = RGB(255, 0, 0);

enum class SkinColour {
    Body,      // the ground of every window and list
    Raised,    // headers, bars and other surfaces a step above the ground
    Alternate, // every other row of a list, so long rows stay readable
    Border,    // separators and frames
    Text,
    DimText,   // secondary texts: tooltips' companions, empty states
    Accent,    // the one highlight: progress, the playing row, the focus
    Selection, // selected rows
    Playing,   // the ground of the row that is being played
    Link,
    Count
};

enum class SkinFont { Normal, Bold, Underlined, Count };

// Where a skin picture's corners end. The corners are drawn at their own size, the edges between
// them stretch along their length and the middle both ways, so rounded corners keep their shape at
// any window size. All zero: the whole picture stretches.
struct SkinMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class CSkin {
public:
    CSkin();
    CSkin(const CSkin&) = delete;
    CSkin& operator=(const CSkin&) = delete;

    COLORREF Colour(SkinColour which) const { return m_colours[Index(which)]; }
    HBRUSH Brush(SkinColour which) const { return m_brushes[Index(which)].Get(); }
    HPEN Pen(SkinColour which) const { return m_pens[Index(which)].Get(); }
    HFONT Font(SkinFont which = SkinFont::Normal) const { return m_fonts[static_cast<size_t>(which)].Get(); }

private:
    static size_t Index(SkinColour which) { return static_cast<size_t>(which); }

    static constexpr size_t kColours = static_cast<size_t>(SkinColour::Count);
    std::array<COLORREF, kColours> m_colours{};
    std::array<ScopedBrush, kColours> m_brushes;
    std::array<ScopedPen, kColours> m_pens;
    std::array<ScopedFont, static_cast<size_t>(SkinFont::Count)> m_fonts;
};

// The skin of the program, made on first use on the user-interface thread.
const CSkin& GetSkin();

// Draws the picture into dest, cut and stretched by the margins. Pixels are copied, never blended,
// so the colour key stays pure red wherever the picture had it.
void DrawSkinBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const SkinMargins& margins = {});

// WM_ERASEBKGND of a skinned window: the picture over the whole client area, or the body colour
// when there is no picture. Always 1 (erased).
LRESULT EraseWithSkin(HWND window, HDC dc, HBITMAP bitmap, const SkinMargins& margins = {});

// The region of the bitmap's pixels that are not the key colour, in bitmap coordinates; the caller
// owns it (SetWindowRgn takes it over). Null when the bitmap cannot be read.
HRGN CreateColourKeyRegion(HBITMAP bitmap, COLORREF key = kSkinColourKey);

// Makes the window layered with the given colour key and alpha (LWA_ flags). Looked up at run time:
// where the system lacks layered windows, the window simply stays rectangular and opaque.
void SetLayeredAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);

// The shape of a frameless window of the given size: its skin drawn at that size with the colour
// key left out.
HRGN CreateSkinWindowRegion(HBITMAP bitmap, SIZE size, const SkinMargins& margins = {});
