#include "ui/controls/ImageRegions.h"

#include <algorithm>

void CImageRegions::SetRegions(std::vector<ImageRegion> regions) {
    m_regions = std::move(regions);
    m_hot.reset();
    m_pressed.reset();
}

bool CImageRegions::SetEnabled(int id, bool enabled) {
    auto found =
        std::find_if(m_regions.begin(), m_regions.end(), [id](const ImageRegion& r) { return r.id == id; });
    if (found == m_regions.end()) {
        return false;
    }
    found->enabled = enabled;
    // A region switched off under the pointer, or in the middle of a press, is neither hot nor
    // gives a click.
    auto index = static_cast<size_t>(found - m_regions.begin());
    if (!enabled && m_pressed == index) {
        m_pressed.reset();
    }
    if (!enabled && m_hot == index) {
        m_hot.reset();
    }
    return true;
}

RECT CImageRegions::VisibleRect(size_t index) const {
    const ImageRegion& r = m_regions[index];
    RECT rect{std::max(r.x, 0), std::max(r.y, 0), std::min(r.x + r.width, static_cast<int>(m_panel.cx)),
              std::min(r.y + r.height, static_cast<int>(m_panel.cy))};
    if (rect.right < rect.left || rect.bottom < rect.top) {
        rect = {};
    }
    return rect;
}

std::optional<size_t> CImageRegions::HitTest(POINT point) const {
    for (size_t i = 0; i < m_regions.size(); ++i) {
        RECT rect = VisibleRect(i);
        if (PtInRect(&rect, point)) {
            return i;
        }
    }
    return std::nullopt;
}

RegionFace CImageRegions::Face(size_t index) const {
    if (!m_regions[index].enabled) {
        return RegionFace::Disabled;
    }
    if (m_hot != index) {
        return RegionFace::Normal;
    }
    // While a press lasts, the pressed region looks pressed only while the pointer is on it; any
    // other enabled region under the pointer looks hot, for a release there would click it.
    return m_pressed == index ? RegionFace::Pressed : RegionFace::Hover;
}

std::vector<RegionFace> CImageRegions::Faces() const {
    std::vector<RegionFace> faces;
    for (size_t i = 0; i < m_regions.size(); ++i) {
        faces.push_back(Face(i));
    }
    return faces;
}

bool CImageRegions::MouseMove(POINT point) {
    std::vector<RegionFace> before = Faces();
    std::optional<size_t> hit = HitTest(point);
    m_hot = IsEnabled(hit) ? hit : std::nullopt;
    return Faces() != before;
}

bool CImageRegions::MouseLeave() {
    std::vector<RegionFace> before = Faces();
    m_hot.reset();
    return Faces() != before;
}

bool CImageRegions::ButtonDown(POINT point) {
    std::optional<size_t> hit = HitTest(point);
    if (!IsEnabled(hit)) {
        return false;
    }
    m_pressed = hit;
    m_hot = hit;
    return true;
}

std::optional<int> CImageRegions::ButtonUp(POINT point) {
    if (!m_pressed) {
        return std::nullopt;
    }
    m_pressed.reset();
    std::optional<size_t> hit = HitTest(point);
    m_hot = IsEnabled(hit) ? hit : std::nullopt;
    if (!IsEnabled(hit)) {
        return std::nullopt;
    }
    return m_regions[*hit].id;
}

bool CImageRegions::CaptureLost() {
    if (!m_pressed) {
        return false;
    }
    m_pressed.reset();
    return true;
}
