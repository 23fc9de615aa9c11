// Where the manager window's parts go for a client size, and how the frameless window is sized
// from its edges. Pure geometry, so that it is checked without a window.
#pragma once

#include <windows.h>

inline constexpr int kManagerMinWidth = 960;
inline constexpr int kManagerMinHeight = 660;

struct ManagerPlaces {
    POINT caption;
    POINT toolbar;
    POINT link;
    RECT music; // also the start guide's place
    RECT discs;
    RECT tips; // also the player bar's place
    RECT trackPanel;
};

// The places for a client area of width × height; only meaningful from the minimum size up.
ManagerPlaces ManagerPlacesFor(int width, int height);

// The edge of the client area a point lies on, as the hit-test code that makes the system size the
// window from it: HTRIGHT, HTBOTTOM, HTBOTTOMRIGHT, or HTCLIENT elsewhere.
LRESULT ManagerSizingEdge(POINT client, int width, int height);

// Keeps a window rectangle being sized from edge (a WMSZ_ code) at the minimum size, holding the
// opposite edges where they are.
void KeepManagerMinimum(WPARAM edge, RECT& window);
