// A heap object handed from a worker to a window with a posted message: the receiver owns it.
// When the message cannot be posted (the window is gone, the queue is full) it is freed here.
#pragma once

#include <windows.h>

#include <memory>

template <typename T> bool PostOwned(HWND window, UINT message, WPARAM wParam, std::unique_ptr<T> payload) {
    if (window == nullptr ||
        !PostMessageA(window, message, wParam, reinterpret_cast<LPARAM>(payload.get()))) {
        return false;
    }
    payload.release();
    return true;
}

// The receiving side of PostOwned (or of any message whose lParam passes a heap object on).
template <typename T> std::unique_ptr<T> TakeOwned(LPARAM lParam) {
    return std::unique_ptr<T>(reinterpret_cast<T*>(lParam));
}
