// Keeping a window thread responsive while it waits.
#pragma once

#include <windows.h>

// Dispatches the calling thread's waiting messages. With handles given, stops early once all of
// them are signalled; returns whether they are. A quit request is left for the message loop.
bool DispatchPendingMessages(const HANDLE* handles = nullptr, DWORD count = 0);

// Dispatches messages until all handles are signalled.
void WaitAllWhileDispatching(const HANDLE* handles, DWORD count);
