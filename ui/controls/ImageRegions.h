// The hot regions of an image panel and what the mouse has done to them: which region a point
// hits, which face each region shows, and which region a click belongs to. Plain logic, so that
// the rules hold without a window.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

// One row of a panel's table, in panel pixels. A region may reach past the panel; the panel's edge
// cuts it.
struct ImageRegion {
    bool enabled = true;
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    UINT tooltipId = 0;
};

// Which of the panel's four pictures a region is drawn from.
enum class RegionFace { Normal, Hover, Pressed, Disabled };

class CImageRegions {
public:
    void SetPanelSize(SIZE size) { m_panel = size; }
    void SetRegions(std::vector<ImageRegion> regions);
    const std::vector<ImageRegion>& Regions() const { return m_regions; }
    // False when no region has that id.
    bool SetEnabled(int id, bool enabled);

    // The region's rectangle as far as it lies on the panel.
    RECT VisibleRect(size_t index) const;
    // The first region of the table (enabled or not) under the point; none off the panel.
    std::optional<size_t> HitTest(POINT point) const;

    RegionFace Face(size_t index) const;
    bool IsPressing() const { return m_pressed.has_value(); }

    // The mouse events, in panel coordinates. Each answers whether any region's face changed.
    bool MouseMove(POINT point);
    bool MouseLeave();
    // A press counts only on an enabled region; then the panel captures the mouse until the release.
    bool ButtonDown(POINT point);
    // The id of the enabled region under the release point, if a press was under way.
    std::optional<int> ButtonUp(POINT point);
    // The capture went elsewhere: the press is dropped without a click.
    bool CaptureLost();

private:
    bool IsEnabled(std::optional<size_t> index) const { return index && m_regions[*index].enabled; }
    std::vector<RegionFace> Faces() const;

    SIZE m_panel{};
    std::vector<ImageRegion> m_regions;
    std::optional<size_t> m_hot;
    std::optional<size_t> m_pressed;
};
