#include "ui/controls/SkinHeader.h"

#include "app/framework/GdiScoped.h"
#include "ui/controls/SelfPaint.h"
#include "ui/controls/Skin.h"

#include <commctrl.h>

void CSkinHeader::Paint(HDC out, const RECT& client) {
    const CSkin& skin = GetSkin();
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
}

LRESULT CSkinHeader::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto painted = HandleSelfPaint(Hwnd(), message, wParam,
                                       [this](HDC out, const RECT& client) { Paint(out, client); })) {
        return *painted;
    }
    return DefaultProc(message, wParam, lParam);
}
