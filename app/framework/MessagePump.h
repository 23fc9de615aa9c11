// The user-interface thread's message handling: keyboard navigation for every modeless dialog,
// and keeping the thread responsive while it waits.
#pragma once

#include <windows.h>

// Modeless dialogs of this thread that get Tab, arrow and mnemonic keys from the message loops.
void RegisterModelessDialog(HWND dialog);
void UnregisterModelessDialog(HWND dialog);
// True when the message was a dialog's keyboard message and has been handled.
bool HandleDialogMessage(MSG& msg);

// Dispatches the calling thread's waiting messages. With handles given, stops early once all of
// them are signalled; returns whether they are. A quit request is left for the message loop.
bool DispatchPendingMessages(const HANDLE* handles = nullptr, DWORD count = 0);

// Dispatches messages until all handles are signalled.
void WaitAllWhileDispatching(const HANDLE* handles, DWORD count);
