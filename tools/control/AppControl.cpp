#include "tools/control/AppControl.h"

#include "app/FrameWindowClass.h"
#include "res/ids/ManagerIds.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>

namespace {

constexpr char kMessageBoxClass[] = "#32770";
constexpr char kPopupMenuClass[] = "#32768";

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

// Memory in the process that owns a window: the list view's messages carry pointers, which are
// only good in the process that reads them.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, SIZE_T bytes) : m_bytes(bytes) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (m_process != nullptr) {
            m_address = VirtualAllocEx(m_process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (m_address != nullptr) {
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        }
        if (m_process != nullptr) {
            CloseHandle(m_process);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return m_address != nullptr; }
    char* At(SIZE_T offset) const { return static_cast<char*>(m_address) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T bytes) const {
        return offset + bytes <= m_bytes && WriteProcessMemory(m_process, At(offset), data, bytes, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T bytes) const {
        return offset + bytes <= m_bytes && ReadProcessMemory(m_process, At(offset), data, bytes, nullptr);
    }

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    SIZE_T m_bytes;
};

constexpr SIZE_T kTextBytes = 1024;

} // namespace

std::vector<std::string> AppControl::ListBoxItems(HWND list) {
    // A list box that keeps strings has its text carried across processes by the system itself,
    // in Unicode (Wine hands an ANSI caller the Unicode text as well).
    std::vector<std::string> items;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring wide(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        if (length > 0) {
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        }
        char text[kTextBytes] = "";
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text, sizeof text, nullptr, nullptr);
        items.emplace_back(text);
    }
    return items;
}

std::vector<std::vector<std::string>> AppControl::ListViewRows(HWND list, int columns) {
    std::vector<std::vector<std::string>> rows;
    RemoteBuffer remote(list, sizeof(LVITEMA) + kTextBytes);
    const LRESULT count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT row = 0; remote.Valid() && row < count; ++row) {
        std::vector<std::string> texts;
        for (int column = 0; column < columns; ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = remote.At(sizeof(LVITEMA));
            item.cchTextMax = kTextBytes;
            char local[kTextBytes] = "";
            remote.Write(0, &item, sizeof item);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.At(0)));
            remote.Read(sizeof(LVITEMA), local, kTextBytes);
            local[kTextBytes - 1] = '\0';
            texts.emplace_back(local);
        }
        rows.push_back(std::move(texts));
    }
    return rows;
}

bool AppControl::SelectListBoxItem(HWND list, int index) {
    if (SendMessageA(list, LB_SETCURSEL, index, 0) == LB_ERR) {
        return false;
    }
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    return true;
}

bool AppControl::SelectListViewRow(HWND list, int row) {
    RemoteBuffer remote(list, sizeof(LVITEMA));
    if (!remote.Valid()) {
        return false;
    }
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    remote.Write(0, &item, sizeof item);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote.At(0)));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof item);
    return SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.At(0))) != 0;
}

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

HWND AppControl::FindPopupMenu(DWORD processId) {
    // Only a shown menu window is an open menu.
    return FindTopLevel([processId](HWND window) {
        return ClassOf(window) == kPopupMenuClass && BelongsTo(window, processId) && IsWindowVisible(window);
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
