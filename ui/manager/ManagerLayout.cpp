#include "ui/manager/ManagerLayout.h"

namespace {

constexpr int kEdgeStrip = 6;
constexpr int kCornerSquare = 16;

RECT Box(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

} // namespace

ManagerPlaces ManagerPlacesFor(int width, int height) {
    ManagerPlaces places{};
    places.caption = {width - 73, 6};
    places.toolbar = {width - 420, 40};
    places.link = {13, height - 126};
    places.music = Box(296, 134, width - 324, height - 187);
    places.discs = Box(26, 134, 240, height - 478);
    places.tips = Box(26, height - 110, 240, 56);
    // Between the disc list and the tips, with room for their captions in the skin.
    places.trackPanel = {places.discs.left, places.discs.bottom + 50, places.discs.right,
                         places.tips.top - 46};
    return places;
}

LRESULT ManagerSizingEdge(POINT client, int width, int height) {
    const bool right = client.x >= width - kEdgeStrip && client.x < width;
    const bool bottom = client.y >= height - kEdgeStrip && client.y < height;
    if (client.x >= width - kCornerSquare && client.x < width && client.y >= height - kCornerSquare &&
        client.y < height) {
        return HTBOTTOMRIGHT;
    }
    if (right && client.y >= 0) {
        return HTRIGHT;
    }
    if (bottom && client.x >= 0) {
        return HTBOTTOM;
    }
    return HTCLIENT;
}

void KeepManagerMinimum(WPARAM edge, RECT& window) {
    if (window.right - window.left < kManagerMinWidth) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) {
            window.left = window.right - kManagerMinWidth;
        } else {
            window.right = window.left + kManagerMinWidth;
        }
    }
    if (window.bottom - window.top < kManagerMinHeight) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) {
            window.top = window.bottom - kManagerMinHeight;
        } else {
            window.bottom = window.top + kManagerMinHeight;
        }
    }
}
