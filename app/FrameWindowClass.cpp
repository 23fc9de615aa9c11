#include "app/FrameWindowClass.h"

bool RegisterFrameWindowClass(HINSTANCE instance) {
    // The system's dialog class: the dialog manager drives the windows as any other dialog.
    WNDCLASSEXA frame{};
    frame.cbSize = sizeof frame;
    if (!GetClassInfoExA(nullptr, "#32770", &frame)) {
        return false;
    }
    frame.hInstance = instance;
    frame.lpszClassName = kFrameWindowClass;
    return RegisterClassExA(&frame) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
