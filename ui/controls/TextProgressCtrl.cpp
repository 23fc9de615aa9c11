#include "ui/controls/TextProgressCtrl.h"

#include "app/framework/GdiScoped.h"
#include "ui/controls/SelfPaint.h"
#include "ui/controls/Skin.h"

#include <commctrl.h>

#include <algorithm>

int ProgressPercent(unsigned done, unsigned total) {
    if (total == 0) {
        return 100;
    }
    return static_cast<int>((static_cast<double>(done) / total + 0.005) * 100);
}

ProgressFace ComputeProgressFace(int position, const std::string& text, bool textOverBar, int width) {
    ProgressFace face;
    face.showsText = !text.empty();
    if (face.showsText && !textOverBar) {
        return face;
    }
    int clamped = std::clamp(position, 0, 100);
    // Rounded to the nearest pixel, so that 100 always fills the bar and 1 is seen on a wide one.
    face.fillWidth = (std::max(width, 0) * clamped + 50) / 100;
    return face;
}

void CTextProgressCtrl::OnAttached() {
    Subclass();
    // The system bar's own position is where ours starts.
    if (int position = static_cast<int>(DefaultProc(PBM_GETPOS, 0, 0)); position > 0) {
        m_nPos = std::clamp(position, 0, 100);
    }
    Refresh();
}

void CTextProgressCtrl::SetPos(int position) {
    position = std::clamp(position, 0, 100);
    if (position != m_nPos) {
        m_nPos = position;
        Refresh();
    }
}

void CTextProgressCtrl::SetText(const std::string& text) {
    if (text != m_strText) {
        m_strText = text;
        Refresh();
    }
}

void CTextProgressCtrl::SetTextOverBar(bool over) {
    m_bTextOverBar = over;
    Refresh();
}

void CTextProgressCtrl::Refresh() {
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CTextProgressCtrl::Paint(HDC out, const RECT& client) {
    const CSkin& skin = GetSkin();

    // A one-pixel frame, then the trough and the filled part inside it.
    FrameRect(out, &client, skin.Brush(SkinColour::Border));
    RECT inner = client;
    InflateRect(&inner, -1, -1);
    FillRect(out, &inner, skin.Brush(SkinColour::Raised));
    ProgressFace face = ComputeProgressFace(m_nPos, m_strText, m_bTextOverBar, inner.right - inner.left);
    RECT filled{inner.left, inner.top, inner.left + face.fillWidth, inner.bottom};
    FillRect(out, &filled, skin.Brush(SkinColour::Accent));

    if (face.showsText) {
        ScopedSelect font(out, skin.Font(SkinFont::Normal));
        SetBkMode(out, TRANSPARENT);
        const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
        // Dark on the accent, light on the trough: the text stays readable where the bar's end
        // runs through it.
        RECT rest{filled.right, inner.top, inner.right, inner.bottom};
        int saved = SaveDC(out);
        IntersectClipRect(out, rest.left, rest.top, rest.right, rest.bottom);
        SetTextColor(out, skin.Colour(SkinColour::Text));
        DrawTextA(out, m_strText.c_str(), -1, &inner, format);
        RestoreDC(out, saved);
        if (face.fillWidth > 0) {
            saved = SaveDC(out);
            IntersectClipRect(out, filled.left, filled.top, filled.right, filled.bottom);
            SetTextColor(out, skin.Colour(SkinColour::Body));
            DrawTextA(out, m_strText.c_str(), -1, &inner, format);
            RestoreDC(out, saved);
        }
    }
}

LRESULT CTextProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto painted = HandleSelfPaint(Hwnd(), message, wParam,
                                       [this](HDC out, const RECT& client) { Paint(out, client); })) {
        return *painted;
    }
    switch (message) {
    case WM_SIZE:
        Refresh();
        break;
    case PBM_SETPOS: {
        int previous = m_nPos;
        SetPos(static_cast<int>(wParam));
        return previous;
    }
    case PBM_GETPOS:
        return m_nPos;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
