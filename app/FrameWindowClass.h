// The window class of the program's top-level dialogs.
#pragma once

#include <windows.h>

// The manager and status windows are ordinary dialogs under a class name of their own, so that
// another process can find a running copy by that name.
inline constexpr char kFrameWindowClass[] = "QuaverlaneFrameWnd";

// Registers the class for the module's templates that name it; true when it is there.
bool RegisterFrameWindowClass(HINSTANCE instance);
