#include "app/framework/MessagePump.h"

namespace {

bool AllSignalled(const HANDLE* handles, DWORD count) {
    return count > 0 && WaitForMultipleObjects(count, handles, TRUE, 0) == WAIT_OBJECT_0;
}

} // namespace

bool DispatchPendingMessages(const HANDLE* handles, DWORD count) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
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
