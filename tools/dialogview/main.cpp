// Shows one of the program's dialog templates, with the texts of a language file, and saves what
// the screen shows of it as a bitmap: how every window is looked at without the window code that
// will drive it. Child templates (pages, panels) are shown in a plain frame of their size.
//   dialogview <template id> <language file or -> <output.bmp>
#include "app/FrameWindowClass.h"
#include "app/Localisation.h"
#include "app/framework/MessagePump.h"
#include "tools/control/AppControl.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

INT_PTR CALLBACK ShownProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

void Settle(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        DispatchPendingMessages();
        Sleep(10);
    }
}

bool IsChildTemplate(int templateId) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(templateId), RT_DIALOG);
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(nullptr, found)));
    if (words == nullptr) {
        return false;
    }
    // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF; the style follows the help id.
    DWORD style = words[1] == 0xFFFF ? *reinterpret_cast<const DWORD*>(words + 6)
                                     : *reinterpret_cast<const DWORD*>(words);
    return (style & WS_CHILD) != 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: dialogview <template id> <language file or -> <output.bmp>\n");
        return 2;
    }
    int templateId = atoi(argv[1]);
    CLanguageFile language(std::string(argv[2]) == "-" ? std::string() : argv[2]);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterFrameWindowClass(instance);

    HWND frame = nullptr;
    if (IsChildTemplate(templateId)) {
        frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, 10, 10, nullptr, nullptr,
                                instance, nullptr);
    }
    HWND shown = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), frame, ShownProc, 0);
    if (shown == nullptr) {
        fprintf(stderr, "dialogview: template %d cannot be shown (error %lu)\n", templateId, GetLastError());
        return 1;
    }
    language.LocaliseDialog(shown, templateId);
    RECT place;
    GetWindowRect(shown, &place);
    if (frame != nullptr) {
        SetWindowPos(frame, HWND_TOPMOST, 40, 40, place.right - place.left, place.bottom - place.top, 0);
        SetWindowPos(shown, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    } else {
        SetWindowPos(shown, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE);
    }
    // Templates without WS_VISIBLE (the status window) are shown here all the same.
    ShowWindow(shown, SW_SHOWNOACTIVATE);
    Settle(400);
    GetWindowRect(frame != nullptr ? frame : shown, &place);
    return AppControl::SaveScreenPicture(place, argv[3]) ? 0 : 1;
}
