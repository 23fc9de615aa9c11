#include "tests/ui/controls/ControlsTestSupport.h"

#include "app/framework/GdiScoped.h"
#include "app/framework/MessagePump.h"
#include "tools/control/AppControl.h"
#include "ui/controls/Skin.h"

#include <algorithm>

namespace ctltest {

CHostDialog::CHostDialog(int templateId) {
    GetSkin(); // the common-control classes the template names
    OnCommand(IDOK, [this] { ++okCommands; });
    OnCommand(IDCANCEL, [this] { ++cancelCommands; });
    CreateModeless(GetModuleHandleA(nullptr), templateId, nullptr);
    SetWindowPos(Hwnd(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump();
}

void CHostDialog::Watch(UINT message) {
    m_seen[message] = 0;
    OnMessage(message, [this, message](WPARAM, LPARAM) -> MessageResult {
        ++m_seen[message];
        return 0;
    });
}

int CHostDialog::Seen(UINT message) const {
    auto found = m_seen.find(message);
    return found == m_seen.end() ? 0 : found->second;
}

COLORREF Pixels::At(int x, int y) const {
    DWORD value = m_data[size_t(y) * m_width + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

bool Pixels::Contains(const RECT& area, COLORREF colour) const {
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, m_height); ++y) {
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, m_width); ++x) {
            if (At(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

bool Pixels::ContainsOtherThan(const RECT& area, COLORREF colour) const {
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, m_height); ++y) {
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, m_width); ++x) {
            if (At(x, y) != colour) {
                return true;
            }
        }
    }
    return false;
}

bool Pixels::Save(const std::string& path) const {
    int stride = (m_width * 3 + 3) & ~3;
    std::vector<char> bits(static_cast<size_t>(stride) * m_height, 0);
    for (int y = 0; y < m_height; ++y) {
        char* row = bits.data() + static_cast<size_t>(m_height - 1 - y) * stride;
        for (int x = 0; x < m_width; ++x) {
            DWORD value = m_data[size_t(y) * m_width + x];
            row[x * 3] = char(value & 0xFF);
            row[x * 3 + 1] = char((value >> 8) & 0xFF);
            row[x * 3 + 2] = char((value >> 16) & 0xFF);
        }
    }
    return AppControl::SaveBitmapFile(path, m_width, m_height, bits.data());
}

namespace {

// A 32-bit top-down DIB section with its DC; the pixels are read straight from its bits.
struct Canvas {
    Canvas(int width, int height) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        ScopedWindowDC screen(nullptr);
        bitmap.Reset(CreateDIBSection(screen.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc.Reset(CreateCompatibleDC(screen.Get()));
        previous = SelectObject(dc.Get(), bitmap.Get());
    }
    ~Canvas() { SelectObject(dc.Get(), previous); }
    Pixels Read(int width, int height) const {
        GdiFlush();
        Pixels pixels(width, height);
        std::copy_n(static_cast<const DWORD*>(bits), size_t(width) * height, pixels.Data());
        return pixels;
    }
    ScopedBitmap bitmap;
    ScopedMemoryDC dc;
    void* bits = nullptr;
    HGDIOBJ previous = nullptr;
};

} // namespace

Pixels PrintClient(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    Canvas canvas(client.right, client.bottom);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc.Get()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    return canvas.Read(client.right, client.bottom);
}

Pixels CaptureWindow(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    RECT place;
    GetWindowRect(window, &place);
    int width = place.right - place.left, height = place.bottom - place.top;
    Canvas canvas(width, height);
    HDC source = GetWindowDC(window);
    BitBlt(canvas.dc.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
    return canvas.Read(width, height);
}

HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
    Canvas canvas(width, height);
    ScopedBrush brush(CreateSolidBrush(colour));
    RECT all{0, 0, width, height};
    FillRect(canvas.dc.Get(), &all, brush.Get());
    SelectObject(canvas.dc.Get(), canvas.previous);
    canvas.previous = nullptr;
    return canvas.bitmap.Release();
}

HBITMAP CFakePanelResources::Bitmap(UINT id) const {
    auto found = colours.find(id);
    return found == colours.end() ? nullptr : SolidBitmap(m_size.cx, m_size.cy, found->second);
}

std::string CFakePanelResources::Text(UINT id) const {
    auto found = texts.find(id);
    return found == texts.end() ? std::string() : found->second;
}

void Pump() {
    DispatchPendingMessages();
}

std::vector<WPARAM> TakePosted(HWND window, UINT message) {
    std::vector<WPARAM> found;
    MSG msg;
    while (PeekMessageA(&msg, window, message, message, PM_REMOVE)) {
        found.push_back(msg.wParam);
    }
    return found;
}

} // namespace ctltest
