// Track panel: artwork and tags of the selected music file, below the disc list.
#pragma once

// Template 174. The panel paints its texts itself; the button is its only control.
#define IDD_TRACK_PANEL 174
#define IDC_TRACKPANEL_EDIT 1001
