// qvlctl: drives a running Quaverlane from scripts.
//   qvlctl wait [timeout-ms]   waits until the main window exists
//   qvlctl exit [timeout-ms]   chooses Exit and confirms it, then waits for the program to end
//   qvlctl show [timeout-ms]   brings the manager window forward, as the tray menu's item does
//   qvlctl command <id>        sends the manager window a menu command, as choosing the item does
//   qvlctl play <disc> <row>   selects a disc and a music file in the manager's lists (counted
//                              from 0) and plays the file
//   qvlctl snap <title> <file.bmp> [timeout-ms]
//                              waits until the program shows a window of that title, lets it
//                              settle a moment and saves a picture of it
#include "res/ids/ManagerIds.h"
#include "res/ids/TrayIds.h"
#include "tools/control/AppControl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Usage() {
    fprintf(stderr, "usage: qvlctl wait|exit|show [timeout-ms] | snap <title> <file.bmp> [timeout-ms] | "
                    "command <id> | play <disc> <row>\n");
    return 2;
}

int Snap(const char* title, const char* path, DWORD timeout) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = AppControl::FindWindowTitled(0, title);
        if (window != nullptr && IsWindowVisible(window)) {
            Sleep(100);
            RECT place;
            // Only a picture taken while the window stayed shown counts: it hides between tracks.
            if (IsWindowVisible(window) && GetWindowRect(window, &place) &&
                AppControl::SaveScreenPicture(place, path) && IsWindowVisible(window)) {
                printf("saved %s\n", path);
                return 0;
            }
        }
        if (GetTickCount() - start > timeout) {
            fprintf(stderr, "qvlctl: no visible window \"%s\" within %lu ms\n", title,
                    static_cast<unsigned long>(timeout));
            return 1;
        }
        Sleep(50);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    if (strcmp(argv[1], "snap") == 0) {
        return argc < 4 ? Usage()
                        : Snap(argv[2], argv[3],
                               argc > 4 ? static_cast<DWORD>(strtoul(argv[4], nullptr, 10)) : 60000);
    }
    const bool timed = argc > 2 && strcmp(argv[1], "play") != 0 && strcmp(argv[1], "command") != 0;
    DWORD timeout = timed ? static_cast<DWORD>(strtoul(argv[2], nullptr, 10)) : 30000;
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
    if (strcmp(argv[1], "command") == 0) {
        return argc > 2 && AppControl::PostCommand(window, static_cast<UINT>(atoi(argv[2]))) ? 0 : 1;
    }
    if (strcmp(argv[1], "play") == 0) {
        if (argc < 4) {
            return Usage();
        }
        const bool selected =
            AppControl::SelectListBoxItem(GetDlgItem(window, IDC_MANAGER_DISC_LIST), atoi(argv[2])) &&
            AppControl::SelectListViewRow(GetDlgItem(window, IDC_MANAGER_MUSIC_LIST), atoi(argv[3]));
        return selected && AppControl::PostCommand(window, ID_PLAY_SELECTED) ? 0 : 1;
    }
    if (strcmp(argv[1], "show") == 0) {
        return AppControl::PostCommand(window, ID_TRAY_SHOW_MANAGER) ? 0 : 1;
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
