// The program's private window messages, all in one place.
#pragma once

#include <windows.h>

// Watcher → manager window: wParam the change (1 added, 3 modified), lParam a char[260] path
// allocated with new[]; the receiver frees it with delete[].
constexpr UINT WM_CAPTURE_EVENT = WM_APP + 0x100;
constexpr int kCapturePathSize = MAX_PATH;

// Manager window timers.
constexpr UINT_PTR kBurnEndTimer = 3338;
constexpr UINT kBurnEndTimerPeriod = 300;
