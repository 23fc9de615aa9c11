// What the tests of the manager's windows share: a language chosen for the length of a test, and
// a modal dialog driven from inside its own message loop.
#pragma once

#include "app/framework/GdiScoped.h"

#include <windows.h>

#include <functional>
#include <string>

namespace uitest {

// The settings name this language file (in the program's Lang folder) until the end of the scope.
class LanguageInUse {
public:
    explicit LanguageInUse(const std::string& file);
    ~LanguageInUse();
    LanguageInUse(const LanguageInUse&) = delete;
    LanguageInUse& operator=(const LanguageInUse&) = delete;

private:
    std::string m_before;
};

// Calls run, which shows a modal dialog; once the dialog (as dialog() finds it) is up, act is done
// to it from inside its loop. True when the dialog then ended by itself; a dialog still open two
// seconds later is ended by force, and the answer is false.
bool EndsModal(const std::function<void()>& run, const std::function<HWND()>& dialog,
               const std::function<void(HWND)>& act);

// A shown pop-up of the given size standing in for the manager window, with the panel (a child
// dialog made by its Create(instance, parent)) created and shown in it. The panel goes with it.
template <typename Panel> ScopedWindow ShowInStandIn(Panel& panel, int width, int height) {
    ScopedWindow host(CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                    nullptr, nullptr, nullptr));
    if (panel.Create(GetModuleHandleA(nullptr), host.Get())) {
        ShowWindow(panel.Hwnd(), SW_SHOW);
    }
    return host;
}

// A press and release of the left button at x, y of the window's client area.
void Click(HWND window, int x, int y);

} // namespace uitest
