#include "ui/controls/HoverTip.h"

#include "ui/controls/Skin.h"

#include <commctrl.h>

#include <vector>

namespace {

// The size that every version of the common controls takes: the program carries no manifest that
// would ask for version 6, whose larger record version 5 refuses.
const UINT kToolInfoSize = TTTOOLINFOA_V2_SIZE;

TOOLINFOA ToolFor(HWND window, UINT id) {
    TOOLINFOA tool{};
    tool.cbSize = kToolInfoSize;
    tool.hwnd = window;
    tool.uId = id;
    return tool;
}

} // namespace

CHoverTip::~CHoverTip() {
    Destroy();
}

bool CHoverTip::Create(HWND window) {
    Destroy();
    GetSkin(); // the common-control classes
    m_hWnd = window;
    // The tooltip subclasses the window itself (TTF_SUBCLASS), so whoever owns the window need
    // not relay its mouse messages.
    m_hTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                             nullptr, nullptr);
    if (m_hTip == nullptr) {
        return false;
    }
    // Texts with line feeds (a language file's "\n") show as lines.
    SendMessageA(m_hTip, TTM_SETMAXTIPWIDTH, 0, 400);
    return true;
}

void CHoverTip::Destroy() {
    if (m_hTip != nullptr) {
        DestroyWindow(m_hTip);
        m_hTip = nullptr;
    }
    m_hWnd = nullptr;
}

bool CHoverTip::SetArea(UINT id, const RECT& area, const std::string& text) {
    if (m_hTip == nullptr) {
        return false;
    }
    TOOLINFOA tool = ToolFor(m_hWnd, id);
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = area;
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    tool.lpszText = buffer.data();
    RemoveArea(id);
    return SendMessageA(m_hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

void CHoverTip::RemoveArea(UINT id) {
    if (m_hTip != nullptr) {
        TOOLINFOA tool = ToolFor(m_hWnd, id);
        SendMessageA(m_hTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CHoverTip::RemoveAll() {
    if (m_hTip == nullptr) {
        return;
    }
    // Taken from the end, so that the indices of the ones still to go stay put.
    for (int i = AreaCount() - 1; i >= 0; --i) {
        TOOLINFOA tool{};
        tool.cbSize = kToolInfoSize;
        if (SendMessageA(m_hTip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool))) {
            SendMessageA(m_hTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

std::string CHoverTip::Text(UINT id) const {
    if (m_hTip == nullptr) {
        return {};
    }
    // Version 5 of TTM_GETTEXT takes no buffer size: the buffer is larger than any tip we set.
    std::vector<char> buffer(1024, '\0');
    TOOLINFOA tool = ToolFor(m_hWnd, id);
    tool.lpszText = buffer.data();
    SendMessageA(m_hTip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    return tool.lpszText != nullptr ? std::string(tool.lpszText) : std::string();
}

int CHoverTip::AreaCount() const {
    return m_hTip == nullptr ? 0 : static_cast<int>(SendMessageA(m_hTip, TTM_GETTOOLCOUNT, 0, 0));
}
