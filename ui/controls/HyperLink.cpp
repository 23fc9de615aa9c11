#include "ui/controls/HyperLink.h"

#include "app/framework/GdiScoped.h"
#include "ui/controls/SelfPaint.h"
#include "ui/controls/Skin.h"

#include <shellapi.h>
#include <windowsx.h>

#include <vector>

void CHyperLink::OnAttached() {
    Subclass();
    if (m_strTarget.empty()) {
        int length = GetWindowTextLengthA(Hwnd());
        std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
        GetWindowTextA(Hwnd(), text.data(), length + 1);
        m_strTarget = text.data();
    }
}

void CHyperLink::Open() const {
    if (m_strTarget.empty()) {
        return;
    }
    if (m_opener) {
        m_opener(m_strTarget);
        return;
    }
    ShellExecuteA(nullptr, "open", m_strTarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CHyperLink::SetHot(bool hot) {
    if (hot != m_bHot) {
        m_bHot = hot;
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CHyperLink::Paint(HDC out, const RECT& client) {
    const CSkin& skin = GetSkin();
    FillRect(out, &client, skin.Brush(SkinColour::Body));
    int length = GetWindowTextLengthA(Hwnd());
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(Hwnd(), text.data(), length + 1);
    ScopedSelect font(out, skin.Font(SkinFont::Underlined));
    SetBkMode(out, TRANSPARENT);
    SetTextColor(out, skin.Colour(m_bHot ? SkinColour::Accent : SkinColour::Link));
    RECT place = client;
    DrawTextA(out, text.data(), -1, &place,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto painted = HandleSelfPaint(Hwnd(), message, wParam,
                                       [this](HDC out, const RECT& client) { Paint(out, client); })) {
        return *painted;
    }
    switch (message) {
    case WM_NCHITTEST:
        // A static control lets the mouse through to its parent; the link wants it.
        return HTCLIENT;
    case WM_SETCURSOR:
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // IDC_HAND
        return TRUE;
    case WM_MOUSEMOVE: {
        if (!m_bHot) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
            TrackMouseEvent(&track);
        }
        RECT client;
        GetClientRect(Hwnd(), &client);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        SetHot(PtInRect(&client, point) != FALSE);
        return 0;
    }
    case WM_MOUSELEAVE:
        SetHot(false);
        return 0;
    case WM_LBUTTONDOWN:
        m_bPressed = true;
        SetCapture(Hwnd());
        return 0;
    case WM_LBUTTONUP: {
        bool pressed = m_bPressed;
        m_bPressed = false;
        if (GetCapture() == Hwnd()) {
            ReleaseCapture();
        }
        RECT client;
        GetClientRect(Hwnd(), &client);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        // Released off the link, the click is taken back.
        if (pressed && PtInRect(&client, point)) {
            Open();
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        m_bPressed = false;
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefaultProc(message, wParam, lParam);
        InvalidateRect(Hwnd(), nullptr, FALSE);
        return result;
    }
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
