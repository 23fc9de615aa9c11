// Drives a running Quaverlane from outside, as a user would: finds its windows, sends the
// commands its menus send and answers its questions. Used by qvlctl and the end-to-end tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace AppControl {

// The main window of the copy running as the given process (any copy when 0); null if none.
HWND FindMainWindow(DWORD processId = 0);

// Waits up to timeoutMs for the main window; null on time-out.
HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs);

// A top-level window of the process with exactly this title; null if none.
HWND FindWindowTitled(DWORD processId, const std::string& title);

// Sends the main window a menu command, as choosing the menu item does.
bool PostCommand(HWND mainWindow, UINT command);

// A message box of the process whose text contains the given text; null if none is open.
HWND FindMessageBox(DWORD processId, const std::string& textPart);

// Waits for such a message box, presses one of its buttons (IDYES, IDOK, ...) and waits for the
// box to close.
bool AnswerMessageBox(DWORD processId, const std::string& textPart, int button, DWORD timeoutMs);

// The pop-up menu the process shows now (window class "#32768"); null if none is open.
HWND FindPopupMenu(DWORD processId);

// Chooses "Exit Quaverlane" and answers yes to the confirmation.
bool RequestExit(HWND mainWindow, DWORD timeoutMs);

// Saves what the screen shows in the rectangle (screen pixels) as a 24-bit bitmap file.
bool SaveScreenPicture(const RECT& place, const std::string& path);

// Writes 24-bit pixels, rows bottom-up and padded to four bytes as in a DIB, as a bitmap file.
bool SaveBitmapFile(const std::string& path, int width, int height, const void* bits);

// The texts of a list box of another process, item by item.
std::vector<std::string> ListBoxItems(HWND list);
// The texts of a report-view list of another process: a row of column texts per item.
std::vector<std::vector<std::string>> ListViewRows(HWND list, int columns);
// Selects a list box item and tells the list's owner, as a click does.
bool SelectListBoxItem(HWND list, int index);
// Selects one row of a report-view list of another process (and no other), as a click does.
bool SelectListViewRow(HWND list, int row);

} // namespace AppControl
