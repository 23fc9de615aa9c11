// The program's private window messages, all in one place.
#pragma once

#include <windows.h>

// Watcher → manager window: wParam the change (1 added, 3 modified), lParam a char[260] path
// allocated with new[]; the receiver frees it with delete[].
constexpr UINT WM_CAPTURE_EVENT = WM_APP + 0x100;
constexpr int kCapturePathSize = MAX_PATH;

// Encoder thread → status window: kibibytes done / kibibytes in all.
constexpr UINT WM_ENCODE_PROGRESS = WM_USER + 1201;
// Encoder thread → status window → (sent on) manager window: lParam a heap
// _AUDIO_ENCODE_FINISH_RESULT, freed with delete by the last receiver.
constexpr UINT WM_TRACK_ENCODED = WM_USER + 1202;

// Manager window → all its descendants (sent): the language changed, texts and bitmaps are
// applied again.
constexpr UINT WM_LANGUAGE_CHANGED = WM_USER + 6008;
// Image panels → their target window: wParam the id of the region clicked, lParam 0.
constexpr UINT WM_PANEL_ACTION = WM_USER + 2666;
constexpr UINT WM_STATUS_HOTSPOT = WM_USER + 2888;
constexpr UINT WM_PANEL_BUTTON = WM_USER + 3303;
// Notification area → the tray icon's window: wParam the icon id, lParam the mouse message.
constexpr UINT WM_TRAY_NOTIFICATION = WM_APP + 1200;
// The disc list's in-place editor → its parent: the label edit ended.
constexpr UINT WM_RENAME_DONE = WM_APP + 0x840;
// No sender inside the program → manager window: hide every window.
constexpr UINT WM_HIDE_WINDOWS = WM_USER + 1203;

// Recorder scan thread → manager window: the scan has ended, whether or not it found the
// recorder; GetRecorderDescription() tells. wParam and lParam 0.
constexpr UINT WM_DEVICE_FOUND = WM_USER + 6600;

// Music-folder scan thread → synchronise dialog: wParam the files processed, lParam the files in
// all; then, whether it ran to its end or was cancelled, WM_SYNC_DONE with 0 and 0.
constexpr UINT WM_SYNC_PROGRESS = WM_USER + 6945;
constexpr UINT WM_SYNC_DONE = WM_USER + 6946;

// Anyone → manager window: stop playback (the bar makes way for the tips again).
constexpr UINT WM_STOP_PLAYBACK = WM_USER + 3001;
// Anyone → manager window: the two halves of "playback has finished"; both together stop it.
constexpr UINT WM_PLAYBACK_FINISHED_A = WM_USER + 1802;
constexpr UINT WM_PLAYBACK_FINISHED_B = WM_USER + 2345;
// Manager window → itself: pop up the program menu under the toolbar's menu button.
constexpr UINT WM_SHOW_MENU = WM_USER + 3002;
// Track panel → manager window: edit the tags of the selected file.
constexpr UINT WM_EDIT_TAGS = WM_USER + 4001;
// Anyone → manager window: refill the music list of the selected disc.
constexpr UINT WM_REFRESH_TRACKS = WM_USER + 4002;

// Manager window timers: the end-of-burn check, and the play time shown while a file plays.
constexpr UINT_PTR kBurnEndTimer = 3338;
constexpr UINT kBurnEndTimerPeriod = 300;
constexpr UINT_PTR kPlayTimeTimer = 3212;
constexpr UINT kPlayTimePeriod = 500;

// Windows Media Player control's event sink → host window (play state stopped) and the
// media-information thread (play state ready: nothing to read; open state media open: read it).
constexpr UINT WM_WMP_STOPPED = WM_USER + 4097;
constexpr UINT WM_WMP_READY = WM_USER + 4098;
constexpr UINT WM_WMP_MEDIA_OPEN = WM_USER + 4099;
