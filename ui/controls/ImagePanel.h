// A picture with clickable hot regions: the normal picture is the panel's face; a region under
// the mouse is drawn from the hover picture, a region being pressed from the pressed picture and
// a disabled one from the disabled picture, each at the same coordinates. A click released over an
// enabled region posts the owner's message with the region's id. Each region has a tooltip. A
// language change reloads the pictures and the tooltips.
#pragma once

#include "app/framework/Control.h"
#include "app/framework/GdiScoped.h"
#include "ui/controls/HoverTip.h"
#include "ui/controls/ImageRegions.h"
#include "ui/controls/PanelResources.h"

#include <array>
#include <vector>

// The resource ids of a panel's four pictures.
struct PanelBitmaps {
    UINT normal = 0, hover = 0, pressed = 0, disabled = 0;
};

class CImagePanel : public CControl {
public:
    // Where the pictures and tooltip texts come from; the language's unless a test says otherwise.
    // The source must outlive the panel.
    void SetResources(const IPanelResources& resources) { m_pResources = &resources; }

    // Places the panel in its parent's client pixels (the table sizes are pixels, not dialog units).
    void Place(int x, int y, int width, int height);
    void SetBitmaps(const PanelBitmaps& bitmaps);
    void SetRegions(std::vector<ImageRegion> regions);
    // False when no region has that id.
    bool EnableRegion(int id, bool enabled);
    // Where a click goes: message to target, wParam the region id, lParam 0.
    void SetTarget(HWND target, UINT message);
    // One tooltip per region, its text looked up now.
    void BuildTooltips();

    const CImageRegions& Regions() const { return m_regions; }
    const CHoverTip& Tooltips() const { return m_tips; }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    const IPanelResources& Resources() const { return m_pResources ? *m_pResources : LanguageResources(); }
    void LoadBitmaps();
    void Paint(HDC out, const RECT& client);
    void Refresh(bool changed);
    POINT PointOf(LPARAM lParam) const;
    void TrackLeave();

    const IPanelResources* m_pResources = nullptr;
    PanelBitmaps m_bitmapIds;
    // Normal, hover, pressed, disabled: in the order of RegionFace.
    std::array<ScopedBitmap, 4> m_bitmaps;
    CImageRegions m_regions;
    CHoverTip m_tips;
    bool m_bTooltips = false;
    HWND m_hTarget = nullptr;
    UINT m_nMessage = 0;
    bool m_bTrackingLeave = false;
};
