#include "ui/controls/Skin.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// The look's palette, the same as the skin pictures' (res/art/artkit.py). Everything is a shade of
// one slate so that the teal accent alone draws the eye.
constexpr COLORREF kPalette[] = {
    RGB(0x23, 0x2A, 0x33), // Body
    RGB(0x2B, 0x33, 0x3D), // Raised
    RGB(0x27, 0x2E, 0x38), // Alternate
    RGB(0x33, 0x3C, 0x47), // Border
    RGB(0xDF, 0xE6, 0xEE), // Text
    RGB(0x9A, 0xA5, 0xB1), // DimText
    RGB(0x2E, 0xC4, 0xB6), // Accent (teal)
    RGB(0x36, 0x41, 0x4D), // Selection
    RGB(0x1B, 0x4A, 0x48), // Playing: the accent, darkened into the ground
    RGB(0x8A, 0xE8, 0xDF), // Link
};
static_assert(std::size(kPalette) == static_cast<size_t>(SkinColour::Count));

HFONT MakeFont(int weight, bool underline) {
    ScopedWindowDC screen(nullptr);
    int height = -MulDiv(8, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    return CreateFontA(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       "Tahoma");
}

// 0x00BBGGRR as the 0x00RRGGBB of a 32-bit DIB pixel.
DWORD DibPixel(COLORREF colour) {
    return (static_cast<DWORD>(GetRValue(colour)) << 16) | (static_cast<DWORD>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

} // namespace

CSkin::CSkin() {
    // Controls that make common-control windows of their own (tooltips) find the classes ready.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    for (size_t i = 0; i < kColours; ++i) {
        m_colours[i] = kPalette[i];
        m_brushes[i].Reset(CreateSolidBrush(kPalette[i]));
        m_pens[i].Reset(CreatePen(PS_SOLID, 1, kPalette[i]));
    }
    m_fonts[static_cast<size_t>(SkinFont::Normal)].Reset(MakeFont(FW_NORMAL, false));
    m_fonts[static_cast<size_t>(SkinFont::Bold)].Reset(MakeFont(FW_BOLD, false));
    m_fonts[static_cast<size_t>(SkinFont::Underlined)].Reset(MakeFont(FW_NORMAL, true));
}

const CSkin& GetSkin() {
    static const CSkin skin;
    return skin;
}

void DrawSkinBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const SkinMargins& margins) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0) {
        return;
    }
    ScopedMemoryDC source(CreateCompatibleDC(dc));
    ScopedSelect picture(source.Get(), bitmap);
    int previousMode = SetStretchBltMode(dc, COLORONCOLOR);

    SkinMargins m = margins;
    int destWidth = dest.right - dest.left;
    int destHeight = dest.bottom - dest.top;
    // Margins that do not fit the picture or the place stretch the whole picture instead.
    if (m.left + m.right > info.bmWidth || m.top + m.bottom > info.bmHeight || m.left + m.right > destWidth ||
        m.top + m.bottom > destHeight) {
        m = {};
    }
    const int sx[] = {0, m.left, info.bmWidth - m.right, info.bmWidth};
    const int sy[] = {0, m.top, info.bmHeight - m.bottom, info.bmHeight};
    const int dx[] = {dest.left, dest.left + m.left, dest.right - m.right, dest.right};
    const int dy[] = {dest.top, dest.top + m.top, dest.bottom - m.bottom, dest.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            int sw = sx[column + 1] - sx[column], sh = sy[row + 1] - sy[row];
            int dw = dx[column + 1] - dx[column], dh = dy[row + 1] - dy[row];
            if (sw > 0 && sh > 0 && dw > 0 && dh > 0) {
                StretchBlt(dc, dx[column], dy[row], dw, dh, source.Get(), sx[column], sy[row], sw, sh,
                           SRCCOPY);
            }
        }
    }
    SetStretchBltMode(dc, previousMode);
}

LRESULT EraseWithSkin(HWND window, HDC dc, HBITMAP bitmap, const SkinMargins& margins) {
    RECT client;
    GetClientRect(window, &client);
    if (bitmap != nullptr) {
        DrawSkinBitmap(dc, bitmap, client, margins);
    } else {
        FillRect(dc, &client, GetSkin().Brush(SkinColour::Body));
    }
    return 1;
}

HRGN CreateColourKeyRegion(HBITMAP bitmap, COLORREF key) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0 || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        return nullptr;
    }
    const int width = info.bmWidth, height = info.bmHeight;
    // Whatever the bitmap's own format, read it as top-down 32-bit pixels.
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    ScopedWindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS) != height) {
        return nullptr;
    }
    const DWORD transparent = DibPixel(key);

    // One rectangle per run of kept pixels in a row; a row whose runs are those of the row above
    // only makes the rectangles above one pixel taller. The system gets them all in one call.
    std::vector<RECT> runs;
    size_t previousStart = 0, previousCount = 0;
    std::vector<RECT> row;
    for (int y = 0; y < height; ++y) {
        row.clear();
        const DWORD* line = pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width;) {
            while (x < width && (line[x] & 0xFFFFFF) == transparent) {
                ++x;
            }
            int start = x;
            while (x < width && (line[x] & 0xFFFFFF) != transparent) {
                ++x;
            }
            if (x > start) {
                row.push_back({start, y, x, y + 1});
            }
        }
        bool sameAsAbove = !row.empty() && row.size() == previousCount && runs[previousStart].bottom == y;
        for (size_t i = 0; sameAsAbove && i < row.size(); ++i) {
            const RECT& above = runs[previousStart + i];
            sameAsAbove = above.left == row[i].left && above.right == row[i].right;
        }
        if (sameAsAbove) {
            for (size_t i = 0; i < row.size(); ++i) {
                runs[previousStart + i].bottom = y + 1;
            }
        } else {
            previousStart = runs.size();
            previousCount = row.size();
            runs.insert(runs.end(), row.begin(), row.end());
        }
    }
    if (runs.empty()) {
        return CreateRectRgn(0, 0, 0, 0);
    }
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(runs.size());
    header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    header->rcBound = {0, 0, width, height};
    std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
}

HRGN CreateSkinWindowRegion(HBITMAP bitmap, SIZE size, const SkinMargins& margins) {
    if (size.cx <= 0 || size.cy <= 0) {
        return nullptr;
    }
    ScopedWindowDC screen(nullptr);
    ScopedBitmap drawn(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    ScopedMemoryDC canvas(CreateCompatibleDC(screen.Get()));
    if (!drawn || !canvas) {
        return nullptr;
    }
    {
        ScopedSelect target(canvas.Get(), drawn.Get());
        DrawSkinBitmap(canvas.Get(), bitmap, {0, 0, size.cx, size.cy}, margins);
    }
    return CreateColourKeyRegion(drawn.Get());
}

void SetLayeredAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
    SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user = GetModuleHandleA("User32.DLL");
    auto setAttributes = user != nullptr ? reinterpret_cast<SetLayeredWindowAttributesFn>(
                                               GetProcAddress(user, "SetLayeredWindowAttributes"))
                                         : nullptr;
    if (setAttributes != nullptr) {
        setAttributes(window, key, alpha, flags);
    }
}
