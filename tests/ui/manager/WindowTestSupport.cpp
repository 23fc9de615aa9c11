#include "tests/ui/manager/WindowTestSupport.h"

#include "app/Settings.h"
#include "app/framework/MessagePump.h"

namespace uitest {

namespace {

constexpr UINT kTickMs = 20;
constexpr DWORD kPatienceMs = 2000;

struct ModalRun {
    const std::function<HWND()>* dialog = nullptr;
    const std::function<void(HWND)>* act = nullptr;
    DWORD actedAt = 0;
    bool acted = false;
    bool forced = false;
};
ModalRun* g_run = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = (*g_run->dialog)();
    if (dialog == nullptr || !IsWindowVisible(dialog)) {
        return;
    }
    if (!g_run->acted) {
        g_run->acted = true;
        g_run->actedAt = GetTickCount();
        (*g_run->act)(dialog);
    } else if (GetTickCount() - g_run->actedAt > kPatienceMs && !g_run->forced) {
        g_run->forced = true;
        EndDialog(dialog, -2);
    }
}

} // namespace

LanguageInUse::LanguageInUse(const std::string& file) : m_before(GetSettings().languageFile) {
    GetSettings().languageFile = file;
}

LanguageInUse::~LanguageInUse() {
    GetSettings().languageFile = m_before;
}

bool EndsModal(const std::function<void()>& run, const std::function<HWND()>& dialog,
               const std::function<void(HWND)>& act) {
    ModalRun state{&dialog, &act};
    g_run = &state;
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, OnTick);
    run();
    KillTimer(nullptr, timer);
    g_run = nullptr;
    return state.acted && !state.forced;
}

void Click(HWND window, int x, int y) {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    DispatchPendingMessages();
}

} // namespace uitest
