// What the tests and the music player double agree on besides the player's own interfaces.
#pragma once

#include <windows.h>

// Sent to the double's window: the result is the number of its automation objects still alive.
inline constexpr UINT kLiveObjectsMessage = WM_APP + 0x51;

// Command lines: one of the switches, or the path of the library file to serve. Started by COM
// instead (with "-Embedding"), the double serves an empty library.
inline constexpr char kRegisterSwitch[] = "/RegServer";
inline constexpr char kUnregisterSwitch[] = "/UnregServer";
