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

// Manager window timers.
constexpr UINT_PTR kBurnEndTimer = 3338;
constexpr UINT kBurnEndTimerPeriod = 300;
