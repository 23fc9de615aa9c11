#include "app/framework/MessagePump.h"

#include <algorithm>
#include <vector>

namespace {

// Windows belong to the thread that made them, and so does this list.
thread_local std::vector<HWND> t_modelessDialogs;

bool AllSignalled(const HANDLE* handles, DWORD count) {
    return count > 0 && WaitForMultipleObjects(count, handles, TRUE, 0) == WAIT_OBJECT_0;
}

} // namespace

void RegisterModelessDialog(HWND dialog) {
    t_modelessDialogs.push_back(dialog);
}

void UnregisterModelessDialog(HWND dialog) {
    std::erase(t_modelessDialogs, dialog);
}

bool HandleDialogMessage(MSG& msg) {
    // A copy: handling the message may destroy a dialog and so change the list.
    std::vector<HWND> dialogs = t_modelessDialogs;
    return std::any_of(dialogs.begin(), dialogs.end(), [&msg](HWND dialog) {
        return IsWindow(dialog) && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd)) &&
               IsDialogMessageA(dialog, &msg);
    });
}

bool DispatchPendingMessages(const HANDLE* handles, DWORD count) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!HandleDialogMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (AllSignalled(handles, count)) {
            return true;
        }
    }
    return AllSignalled(handles, count);
}

void WaitAllWhileDispatching(const HANDLE* handles, DWORD count) {
    // Wakes for a message or a handle; the time-out only bounds how late the all-signalled test
    // comes when several handles are signalled one after another.
    while (!DispatchPendingMessages(handles, count)) {
        MsgWaitForMultipleObjects(count, handles, FALSE, 50, QS_ALLINPUT);
    }
}
