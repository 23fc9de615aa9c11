#include "ui/controls/ImagePanel.h"

#include "app/Messages.h"
#include "ui/controls/SelfPaint.h"
#include "ui/controls/Skin.h"

#include <windowsx.h>

void CImagePanel::OnAttached() {
    Subclass();
    RECT client;
    GetClientRect(Hwnd(), &client);
    m_regions.SetPanelSize({client.right, client.bottom});
}

void CImagePanel::Place(int x, int y, int width, int height) {
    SetWindowPos(Hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CImagePanel::SetBitmaps(const PanelBitmaps& bitmaps) {
    m_bitmapIds = bitmaps;
    LoadBitmaps();
    Refresh(true);
}

void CImagePanel::SetRegions(std::vector<ImageRegion> regions) {
    m_regions.SetRegions(std::move(regions));
    if (m_bTooltips) {
        BuildTooltips();
    }
    Refresh(true);
}

bool CImagePanel::EnableRegion(int id, bool enabled) {
    bool found = m_regions.SetEnabled(id, enabled);
    Refresh(found);
    return found;
}

void CImagePanel::SetTarget(HWND target, UINT message) {
    m_hTarget = target;
    m_nMessage = message;
}

void CImagePanel::BuildTooltips() {
    if (Hwnd() == nullptr) {
        return;
    }
    if (m_tips.Hwnd() == nullptr && !m_tips.Create(Hwnd())) {
        return;
    }
    m_bTooltips = true;
    m_tips.RemoveAll();
    const std::vector<ImageRegion>& regions = m_regions.Regions();
    for (size_t i = 0; i < regions.size(); ++i) {
        m_tips.SetArea(static_cast<UINT>(i), m_regions.VisibleRect(i),
                       Resources().Text(regions[i].tooltipId));
    }
}

void CImagePanel::LoadBitmaps() {
    const UINT ids[] = {m_bitmapIds.normal, m_bitmapIds.hover, m_bitmapIds.pressed, m_bitmapIds.disabled};
    for (size_t i = 0; i < m_bitmaps.size(); ++i) {
        m_bitmaps[i].Reset(ids[i] != 0 ? Resources().Bitmap(ids[i]) : nullptr);
    }
}

void CImagePanel::Paint(HDC out, const RECT& client) {
    FillRect(out, &client, GetSkin().Brush(SkinColour::Body));

    ScopedMemoryDC picture(CreateCompatibleDC(out));
    HBITMAP normal = m_bitmaps[static_cast<size_t>(RegionFace::Normal)].Get();
    if (normal != nullptr) {
        ScopedSelect face(picture.Get(), normal);
        BITMAP info{};
        GetObjectA(normal, sizeof(info), &info);
        BitBlt(out, 0, 0, info.bmWidth, info.bmHeight, picture.Get(), 0, 0, SRCCOPY);
    }
    for (size_t i = 0; i < m_regions.Regions().size(); ++i) {
        RegionFace face = m_regions.Face(i);
        HBITMAP bitmap = m_bitmaps[static_cast<size_t>(face)].Get();
        if (face == RegionFace::Normal || bitmap == nullptr) {
            // A picture the language file failed to give leaves the region in its normal face.
            continue;
        }
        RECT area = m_regions.VisibleRect(i);
        ScopedSelect selected(picture.Get(), bitmap);
        BitBlt(out, area.left, area.top, area.right - area.left, area.bottom - area.top, picture.Get(),
               area.left, area.top, SRCCOPY);
    }
}

void CImagePanel::Refresh(bool changed) {
    if (changed && Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

POINT CImagePanel::PointOf(LPARAM lParam) const {
    // Signed: with the mouse captured, a release left of or above the panel has negative places.
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

void CImagePanel::TrackLeave() {
    if (!m_bTrackingLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Hwnd(), 0};
        m_bTrackingLeave = TrackMouseEvent(&track) != FALSE;
    }
}

LRESULT CImagePanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto painted = HandleSelfPaint(Hwnd(), message, wParam,
                                       [this](HDC out, const RECT& client) { Paint(out, client); })) {
        return *painted;
    }
    switch (message) {
    case WM_NCHITTEST:
        // A static control lets the mouse through to its parent; the panel wants it.
        return HTCLIENT;
    case WM_SIZE:
        m_regions.SetPanelSize({LOWORD(lParam), HIWORD(lParam)});
        if (m_bTooltips) {
            BuildTooltips();
        }
        Refresh(true);
        break;
    case WM_MOUSEMOVE:
        TrackLeave();
        Refresh(m_regions.MouseMove(PointOf(lParam)));
        return 0;
    case WM_MOUSELEAVE:
        m_bTrackingLeave = false;
        Refresh(m_regions.MouseLeave());
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A quick second click is a click too, not a double click.
        if (m_regions.ButtonDown(PointOf(lParam))) {
            SetCapture(Hwnd());
            Refresh(true);
        }
        return 0;
    case WM_LBUTTONUP: {
        std::optional<int> clicked = m_regions.ButtonUp(PointOf(lParam));
        if (GetCapture() == Hwnd()) {
            ReleaseCapture();
        }
        Refresh(true);
        if (clicked && m_hTarget != nullptr) {
            PostMessageA(m_hTarget, m_nMessage, static_cast<WPARAM>(*clicked), 0);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        Refresh(m_regions.CaptureLost());
        return 0;
    case WM_LANGUAGE_CHANGED:
        LoadBitmaps();
        if (m_bTooltips) {
            BuildTooltips();
        }
        Refresh(true);
        return 0;
    case WM_DESTROY:
        m_tips.Destroy();
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
