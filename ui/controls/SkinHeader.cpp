#include "ui/controls/SkinHeader.h"

#include "app/framework/GdiScoped.h"
#include "ui/controls/Skin.h"

#include <commctrl.h>

void CSkinHeader::Paint(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0) {
        return;
    }
    const CSkin& skin = GetSkin();
    ScopedMemoryDC canvas(CreateCompatibleDC(dc));
    ScopedBitmap surface(CreateCompatibleBitmap(dc, client.right, client.bottom));
    ScopedSelect onSurface(canvas.Get(), surface.Get());
    HDC out = canvas.Get();
    FillRect(out, &client, skin.Brush(SkinColour::Raised));
    // The accent line under the header ties the list to the rest of the skin.
    RECT line{client.left, client.bottom - 1, client.right, client.bottom};
    FillRect(out, &line, skin.Brush(SkinColour::Accent));

    ScopedSelect font(out, skin.Font(SkinFont::Bold));
    SetBkMode(out, TRANSPARENT);
    SetTextColor(out, skin.Colour(SkinColour::Text));
    int count = static_cast<int>(SendMessageA(Hwnd(), HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item;
        if (!SendMessageA(Hwnd(), HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) {
            continue;
        }
        char text[256] = "";
        HDITEMA info{};
        info.mask = HDI_TEXT | HDI_FORMAT;
        info.pszText = text;
        info.cchTextMax = sizeof(text);
        SendMessageA(Hwnd(), HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
        UINT align = (info.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                     : (info.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                  : DT_LEFT;
        RECT textPlace{item.left + kTextPadding, item.top, item.right - kTextPadding, item.bottom - 1};
        DrawTextA(out, text, -1, &textPlace,
                  align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        RECT separator{item.right - 1, item.top + 4, item.right, item.bottom - 5};
        FillRect(out, &separator, skin.Brush(SkinColour::Border));
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, out, 0, 0, SRCCOPY);
}

LRESULT CSkinHeader::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        // The list view prints its header by handing it a DC of its own.
        if (wParam != 0) {
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        ScopedPaint paint(Hwnd());
        Paint(paint.Get());
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}
