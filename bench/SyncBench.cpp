// The music-folder scan over a generated tree (run-sync-bench.sh): the time of a whole scan, and
// how soon the synchronise dialog answers Cancel at several moments of its scan. A helper thread
// acts as the user: it presses Cancel, waits for the question and answers yes.
//   sync_bench <tree folder> <picture.bmp of the dialog in progress>
#include "app/framework/WinApp.h"
#include "bench/BenchSupport.h"
#include "project/MusicFolderSync.h"
#include "tools/control/AppControl.h"
#include "ui/sync/DlgSync.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace {

constexpr char kDialogTitle[] = "Synchronize music folder information....";
constexpr char kQuestion[] = "cancel synchorizing music folder";

class BenchApp final : public CWinAppBase {
    bool InitInstance() override { return false; }
};

double ScanSeconds(const std::string& root, size_t& discs, size_t& tracks) {
    CMusicFolderSync sync(root);
    double seconds = Time([&sync] {
        sync.Start(nullptr);
        while (sync.IsRunning()) {
            Sleep(1);
        }
    });
    discs = sync.Result().GetCount();
    tracks = 0;
    for (size_t d = 0; d < discs; ++d) {
        tracks += sync.Result().GetDisc(d)->GetTrackCount();
    }
    return seconds;
}

// Times of one cancel, in milliseconds from the press of Cancel.
struct CancelTimes {
    double asked = -1;    // the question is on the screen
    double answered = -1; // yes pressed
    double ended = -1;    // the dialog's run has returned
    INT_PTR result = 0;
};

template <typename Condition> bool Poll(Condition condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

// The synchronise dialog of this process once it shows, or null after ten seconds.
HWND WaitForDialog(DWORD process) {
    HWND dialog = nullptr;
    Poll([&] { return (dialog = AppControl::FindWindowTitled(process, kDialogTitle)) != nullptr; }, 10000);
    return dialog;
}

CancelTimes CancelAfter(const std::string& root, double delaySeconds, const std::string& picture) {
    CancelTimes times;
    LARGE_INTEGER pressed{};
    DWORD process = GetCurrentProcessId();
    std::thread user([&] {
        HWND dialog = WaitForDialog(process);
        if (dialog == nullptr) {
            return;
        }
        LARGE_INTEGER shown = Counter();
        while (Seconds(shown, Counter()) < delaySeconds) {
            Sleep(1);
        }
        if (!picture.empty()) {
            RECT place{};
            GetWindowRect(dialog, &place);
            AppControl::SaveScreenPicture(place, picture);
        }
        pressed = Counter();
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        HWND box = nullptr;
        if (!Poll([&] { return (box = AppControl::FindMessageBox(process, kQuestion)) != nullptr; }, 10000)) {
            return;
        }
        times.asked = Seconds(pressed, Counter()) * 1000;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
        times.answered = Seconds(pressed, Counter()) * 1000;
    });
    CDlgSync dialog(root);
    times.result = dialog.Run(GetModuleHandleA(nullptr), nullptr);
    times.ended = Seconds(pressed, Counter()) * 1000;
    user.join();
    return times;
}

// A dialog run to its end while a helper thread asks the dialog every 10 ms for an answer to a
// sent message: the slowest answer shows how busy its thread ever was.
double RunToTheEnd(const std::string& root) {
    std::atomic<bool> running{true};
    double slowest = 0;
    int asked = 0;
    DWORD process = GetCurrentProcessId();
    std::thread user([&] {
        HWND dialog = WaitForDialog(process);
        if (dialog == nullptr) {
            return;
        }
        while (running) {
            LARGE_INTEGER sent = Counter();
            DWORD_PTR answer = 0;
            if (SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer) == 0) {
                break;
            }
            slowest = std::max(slowest, Seconds(sent, Counter()) * 1000);
            ++asked;
            Sleep(10);
        }
    });
    CDlgSync dialog(root);
    INT_PTR result = 0;
    double seconds = Time([&] { result = dialog.Run(GetModuleHandleA(nullptr), nullptr); });
    running = false;
    user.join();
    std::printf(
        "dialog run to its end: %s in %.3f s with %zu discs; slowest of %d answers to the dialog's thread "
        "%.1f ms\n",
        result == IDOK ? "OK" : "NOT OK", seconds, dialog.Result().GetCount(), asked, slowest);
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sync_bench <tree folder> <picture.bmp>\n");
        return 2;
    }
    BenchApp app;
    app.SetAppName("Quaverlane");
    std::string root = argv[1];
    size_t discs = 0;
    size_t tracks = 0;
    double first = ScanSeconds(root, discs, tracks);
    double second = ScanSeconds(root, discs, tracks);
    std::printf("scan: %zu discs, %zu tracks; first scan %.3f s, second scan %.3f s\n", discs, tracks, first,
                second);

    // The moments of the cancels are fractions of the dialog's own run.
    double run = RunToTheEnd(root);

    bool ended = true;
    int cancels = 0;
    double slowest = 0;
    for (double fraction : {0.0, 0.1, 0.3, 0.5, 0.7, 0.9}) {
        double delay = fraction * run;
        CancelTimes times = CancelAfter(root, delay, fraction == 0.5 ? argv[2] : "");
        if (times.asked < 0) {
            // The machine was slower this time and the scan ended first: no cancel to time.
            std::printf("cancel at %4.0f%% (%.2f s): the scan had ended (%s)\n", fraction * 100, delay,
                        times.result == IDOK ? "OK" : "not OK");
            continue;
        }
        ++cancels;
        double answer = times.ended - times.answered;
        slowest = std::max(slowest, std::max(times.asked, answer));
        ended = ended && times.result == IDCANCEL;
        std::printf(
            "cancel at %4.0f%% (%.2f s): question after %6.1f ms, dialog ended %6.1f ms after yes (%6.1f ms "
            "in all)%s\n",
            fraction * 100, delay, times.asked, answer, times.ended,
            times.result == IDCANCEL ? "" : " -- NOT CANCELLED");
    }
    std::printf("slowest answer to Cancel over %d cancels: %.1f ms (target 200 ms)\n", cancels, slowest);
    return ended && cancels > 0 ? 0 : 1;
}
