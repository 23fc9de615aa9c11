// Bitmaps and icons. A language file may replace any bitmap by its number (section BITMAP), so
// the numbers never change. Each image panel gets four bitmaps of one size that differ only inside
// the panel's regions; the panel copies a region's rectangle from the state it needs.
#pragma once

// Application icon: the windows' big and small icon, the about box, the tray icon at start.
#define IDI_MAINFRAME 128

// Tray animation: one frame per capture-folder event, in this order.
#define IDI_TRAY_1 134
#define IDI_TRAY_2 135
#define IDI_TRAY_3 136
#define IDI_TRAY_4 137

// Manager window: the skin, stretched over the client area (pure red is its transparent colour;
// drawn for 960 by 660, the smallest size the window takes), and its three image panels.
#define IDB_MANAGER_SKIN 141
#define IDB_MANAGER_TOOLBAR_PRESSED 142
#define IDB_MANAGER_TOOLBAR_DISABLED 143
#define IDB_MANAGER_TOOLBAR_HOVER 144
#define IDB_MANAGER_TOOLBAR_NORMAL 145
#define IDB_MANAGER_CAPTION_NORMAL 146
#define IDB_MANAGER_CAPTION_PRESSED 147
#define IDB_MANAGER_CAPTION_DISABLED 148
#define IDB_MANAGER_CAPTION_HOVER 149
#define IDB_MANAGER_LINK_NORMAL 150
#define IDB_MANAGER_LINK_PRESSED 151
#define IDB_MANAGER_LINK_DISABLED 152
#define IDB_MANAGER_LINK_HOVER 153

// Status window: its background (215 by 92, the panel's face included) and its image panel.
#define IDB_STATUS_BACKGROUND 158
#define IDB_STATUS_PANEL_NORMAL 159
#define IDB_STATUS_PANEL_PRESSED 160
#define IDB_STATUS_PANEL_DISABLED 161
#define IDB_STATUS_PANEL_HOVER 162

// Quick guide (template 163): the picture of the steps, which is also the normal face of the
// image panel laid over it, and the panel's other states. 480 by 320 pixels, one region: close.
// The picture has no words: the window lays its heading and the four steps' texts over flat areas
// of it, the heading's on the header band, each step's beside its drawing on its card (the cards
// two by two, the first step's at the top left, then across).
#define IDB_QUICK_GUIDE_NORMAL 163
#define IDB_QUICK_GUIDE_HOVER 164
#define IDB_QUICK_GUIDE_PRESSED 165
#define IDB_QUICK_GUIDE_DISABLED 166
#define QUICK_GUIDE_WIDTH 480
#define QUICK_GUIDE_HEIGHT 320
#define QUICK_GUIDE_CLOSE_REGION 0
#define QUICK_GUIDE_CLOSE_X 446
#define QUICK_GUIDE_CLOSE_Y 10
#define QUICK_GUIDE_CLOSE_WIDTH 24
#define QUICK_GUIDE_CLOSE_HEIGHT 24
#define QUICK_GUIDE_HEADING_X 52
#define QUICK_GUIDE_HEADING_Y 12
#define QUICK_GUIDE_HEADING_WIDTH 380
#define QUICK_GUIDE_HEADING_HEIGHT 20
#define QUICK_GUIDE_HEADING_GROUND RGB(0x1A, 0x1F, 0x26)
#define QUICK_GUIDE_STEP_X 108
#define QUICK_GUIDE_STEP_Y 62
#define QUICK_GUIDE_STEP_WIDTH 120
#define QUICK_GUIDE_STEP_HEIGHT 110
#define QUICK_GUIDE_STEP_PITCH_X 236
#define QUICK_GUIDE_STEP_PITCH_Y 134
#define QUICK_GUIDE_STEP_GROUND RGB(0x2B, 0x33, 0x3D)

// Start guide (template 175): the picture above its texts, 284 by 160 pixels, drawn on the
// window body's colour so that it can stand centred in a larger picture control.
#define IDB_START_GUIDE 175
#define START_GUIDE_WIDTH 284
#define START_GUIDE_HEIGHT 160
#define START_GUIDE_GROUND RGB(0x23, 0x2A, 0x33)

// Player bar: the five playback buttons (210 by 28, on the bar's own grey).
#define IDB_PLAYER_DISABLED 196
#define IDB_PLAYER_HOVER 197
#define IDB_PLAYER_NORMAL 198
#define IDB_PLAYER_PRESSED 199
