// qvlctl: drives a running Quaverlane from scripts.
//   qvlctl wait [timeout-ms]   waits until the main window exists
//   qvlctl exit [timeout-ms]   chooses Exit and confirms it, then waits for the program to end
#include "tools/control/AppControl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Usage() {
    fprintf(stderr, "usage: qvlctl wait|exit [timeout-ms]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    DWORD timeout = argc > 2 ? static_cast<DWORD>(strtoul(argv[2], nullptr, 10)) : 30000;
    HWND window = AppControl::WaitForMainWindow(0, timeout);
    if (window == nullptr) {
        fprintf(stderr, "qvlctl: no running Quaverlane found within %lu ms\n",
                static_cast<unsigned long>(timeout));
        return 1;
    }
    if (strcmp(argv[1], "wait") == 0) {
        printf("Quaverlane is running\n");
        return 0;
    }
    if (strcmp(argv[1], "exit") != 0) {
        return Usage();
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!AppControl::RequestExit(window, timeout)) {
        fprintf(stderr, "qvlctl: Quaverlane did not ask to confirm the exit\n");
        return 1;
    }
    bool ended = process == nullptr || WaitForSingleObject(process, timeout) == WAIT_OBJECT_0;
    if (process != nullptr) {
        CloseHandle(process);
    }
    if (!ended) {
        fprintf(stderr, "qvlctl: Quaverlane did not end within %lu ms\n",
                static_cast<unsigned long>(timeout));
        return 1;
    }
    printf("Quaverlane has exited\n");
    return 0;
}
