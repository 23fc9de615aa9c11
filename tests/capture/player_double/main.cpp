// A stand-in for the music player in tests: a local automation server of the iTunes class that
// serves a library described by a file, and shows the player's top-level window while it runs.
#include "tests/capture/player_double/PlayerDoubleProtocol.h"
#include "tests/capture/player_double/PlayerIdentifiers.h"
#include "tests/capture/player_double/PlayerLibrary.h"
#include "tests/capture/player_double/PlayerObject.h"
#include "tests/capture/player_double/PlayerRegistration.h"

#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <string>

namespace {

// Exit codes.
constexpr int kServed = 0;
constexpr int kFailed = 1;

constexpr char kWindowClass[] = "iTunes";
constexpr char kWindowTitle[] = "iTunes";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kLiveObjectsMessage:
        return PlayerObject::LiveObjects();
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreatePlayerWindow(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassA(&windowClass) == 0) {
        return nullptr;
    }
    HWND window = CreateWindowA(kWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr,
                                nullptr, instance, nullptr);
    if (window != nullptr) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    return window;
}

// Serves until the window is closed; COM's calls arrive through this thread's message loop.
int Serve(HINSTANCE instance, const LibraryNode& library) {
    PlayerClassFactory factory(library);
    DWORD registration = 0;
    if (CoRegisterClassObject(kITunesAppClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                              &registration) != S_OK) {
        return kFailed;
    }
    int result = kFailed;
    if (CreatePlayerWindow(instance) != nullptr) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        result = kServed;
    }
    CoRevokeClassObject(registration);
    return result;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::string first = __argc > 1 ? __argv[1] : "";
    if (CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) != S_OK) {
        return kFailed;
    }
    int result = kFailed;
    LibraryNode library;
    if (_stricmp(first.c_str(), kRegisterSwitch) == 0) {
        result = RegisterPlayerDouble() ? kServed : kFailed;
    } else if (_stricmp(first.c_str(), kUnregisterSwitch) == 0) {
        result = UnregisterPlayerDouble() ? kServed : kFailed;
    } else if (first.empty() || _stricmp(first.c_str(), "-Embedding") == 0 ||
               ReadPlayerLibrary(first, library)) {
        result = Serve(instance, library);
    }
    CoUninitialize();
    return result;
}
