#include "tools/control/AppControl.h"

#include "app/FrameWindowClass.h"
#include "res/ids/ManagerIds.h"

#include <cstdio>
#include <functional>

namespace {

constexpr char kMessageBoxClass[] = "#32770";

struct Search {
    const std::function<bool(HWND)>* predicate;
    HWND found;
};

BOOL CALLBACK TestWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if ((*search->predicate)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(const std::function<bool(HWND)>& predicate) {
    Search search{&predicate, nullptr};
    EnumWindows(TestWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool BelongsTo(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return processId == 0 || owner == processId;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The text of a message box sits in its static control 0xFFFF.
std::string MessageText(HWND box) {
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

} // namespace

HWND AppControl::FindMainWindow(DWORD processId) {
    // The status window shares the class; it is a tool window, the manager window is not.
    return FindTopLevel([processId](HWND window) {
        return ClassOf(window) == kFrameWindowClass && BelongsTo(window, processId) &&
               (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0;
    });
}

HWND AppControl::WaitForMainWindow(DWORD processId, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindMainWindow(processId)) {
            return window;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        Sleep(50);
    }
}

HWND AppControl::FindWindowTitled(DWORD processId, const std::string& title) {
    return FindTopLevel([&](HWND window) {
        char text[256] = "";
        GetWindowTextA(window, text, sizeof text);
        return BelongsTo(window, processId) && title == text;
    });
}

bool AppControl::PostCommand(HWND mainWindow, UINT command) {
    return PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(command, 0), 0) != 0;
}

HWND AppControl::FindMessageBox(DWORD processId, const std::string& textPart) {
    return FindTopLevel([&](HWND window) {
        return ClassOf(window) == kMessageBoxClass && BelongsTo(window, processId) &&
               IsWindowVisible(window) && MessageText(window).find(textPart) != std::string::npos;
    });
}

bool AppControl::AnswerMessageBox(DWORD processId, const std::string& textPart, int button, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND box = FindMessageBox(processId, textPart)) {
            if (!PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                              reinterpret_cast<LPARAM>(GetDlgItem(box, button)))) {
                return false;
            }
            // Gone before we return, so that a caller expecting a second box never finds this one.
            while (IsWindow(box) && GetTickCount() - start < timeoutMs) {
                Sleep(20);
            }
            return !IsWindow(box);
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(50);
    }
}

bool AppControl::RequestExit(HWND mainWindow, DWORD timeoutMs) {
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWindow, &processId);
    if (!PostCommand(mainWindow, ID_EXIT_QUAVERLANE)) {
        return false;
    }
    return AnswerMessageBox(processId, "Do you want to exit Quaverlane?", IDYES, timeoutMs);
}

bool AppControl::SaveScreenPicture(const RECT& place, const std::string& path) {
    int width = place.right - place.left;
    int height = place.bottom - place.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture =
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    bool written = SaveBitmapFile(path, width, height, bits);
    DeleteObject(picture);
    return written;
}

bool AppControl::SaveBitmapFile(const std::string& path, int width, int height, const void* bits) {
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD imageSize = stride * static_cast<DWORD>(height);
    DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file{0x4D42, offset + imageSize, 0, 0, offset};
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
                   fwrite(bits, imageSize, 1, out) == 1;
    return fclose(out) == 0 && written;
}
