#include "ui/controls/MarqueeCtrl.h"

#include "app/framework/GdiScoped.h"
#include "ui/controls/SelfPaint.h"
#include "ui/controls/Skin.h"

#include <algorithm>

namespace {

constexpr UINT_PTR kScrollTimer = 1;

} // namespace

int NextMarqueeOffset(int offset, int step, int stripLength) {
    if (stripLength <= 0) {
        return 0;
    }
    return (offset + step) % stripLength;
}

void CMarqueeCtrl::OnAttached() {
    Subclass();
    Measure();
}

MarqueeItem* CMarqueeCtrl::AddItem(const std::string& text, int position, int width) {
    m_items.push_back({text, position, width});
    Measure();
    return &m_items.back();
}

void CMarqueeCtrl::SetItemText(MarqueeItem* item, const std::string& text) {
    if (item != nullptr) {
        item->text = text;
        Measure();
    }
}

void CMarqueeCtrl::SetText(const std::string& text) {
    m_strText = text;
    Measure();
}

void CMarqueeCtrl::SetColours(COLORREF text, COLORREF ground) {
    m_crText = text;
    m_crGround = ground;
    m_bColoursSet = true;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CMarqueeCtrl::Start(UINT intervalMs) {
    if (Hwnd() != nullptr) {
        m_bRunning = SetTimer(Hwnd(), kScrollTimer, intervalMs, nullptr) != 0;
    }
}

void CMarqueeCtrl::Stop() {
    if (Hwnd() != nullptr && m_bRunning) {
        KillTimer(Hwnd(), kScrollTimer);
    }
    m_bRunning = false;
}

void CMarqueeCtrl::Step() {
    m_nOffset = NextMarqueeOffset(m_nOffset, 1, m_nLength);
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

int CMarqueeCtrl::TextWidth(const std::string& text) const {
    if (Hwnd() == nullptr || text.empty()) {
        return 0;
    }
    ScopedWindowDC dc(Hwnd());
    ScopedSelect font(dc.Get(), GetSkin().Font(SkinFont::Normal));
    SIZE extent{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

void CMarqueeCtrl::Measure() {
    // The own text starts where the last item ends.
    m_nTextStart = 0;
    for (MarqueeItem& item : m_items) {
        item.drawnWidth = std::max(item.width, TextWidth(item.text));
        m_nTextStart = std::max(m_nTextStart, item.position + item.drawnWidth);
    }
    m_nLength = m_nTextStart + TextWidth(m_strText);
    if (m_nLength > 0) {
        m_nOffset %= m_nLength;
    } else {
        m_nOffset = 0;
    }
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CMarqueeCtrl::DrawStrip(HDC dc, int x, int height) const {
    const UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    for (const MarqueeItem& item : m_items) {
        RECT place{x + item.position, 0, x + item.position + item.drawnWidth, height};
        int saved = SaveDC(dc);
        IntersectClipRect(dc, place.left, place.top, place.right, place.bottom);
        DrawTextA(dc, item.text.c_str(), -1, &place, format);
        RestoreDC(dc, saved);
    }
    RECT own{x + m_nTextStart, 0, x + m_nLength, height};
    DrawTextA(dc, m_strText.c_str(), -1, &own, format);
}

void CMarqueeCtrl::Paint(HDC out, const RECT& client) {
    const CSkin& skin = GetSkin();
    COLORREF text = m_bColoursSet ? m_crText : skin.Colour(SkinColour::Text);
    COLORREF ground = m_bColoursSet ? m_crGround : skin.Colour(SkinColour::Body);
    ScopedBrush groundBrush(CreateSolidBrush(ground));
    FillRect(out, &client, groundBrush.Get());
    ScopedSelect font(out, skin.Font(SkinFont::Normal));
    SetBkMode(out, TRANSPARENT);
    SetTextColor(out, text);
    // As many copies of the strip as it takes to fill the control: a short strip repeats.
    if (m_nLength > 0) {
        for (int x = -m_nOffset; x < client.right; x += m_nLength) {
            DrawStrip(out, x, client.bottom);
        }
    }
}

LRESULT CMarqueeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto painted = HandleSelfPaint(Hwnd(), message, wParam,
                                       [this](HDC out, const RECT& client) { Paint(out, client); })) {
        return *painted;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == kScrollTimer) {
            Step();
            return 0;
        }
        break;
    case WM_DESTROY:
        Stop();
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
