// The playback engine's processor time while it plays one file through the wave output: the
// engine thread's own time (GetThreadTimes) and the whole process's (GetProcessTimes), each
// against the audio's length (what a listener's machine spends in real time) and the wall time.
#include "player/Equaliser.h"
#include "player/engine/Engine.h"

#include <windows.h>

#include <cstdio>

namespace {

bool g_stopped = false;
bool g_ended = false;
int g_lengthSeconds = 0;

LRESULT CALLBACK Notifications(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kEngineStateChanged:
        g_ended |= wParam == kEngineEnded;
        g_stopped |= wParam == kEngineStopped && g_ended;
        return 0;
    case kEngineFileInfo:
        g_lengthSeconds = reinterpret_cast<FileInfo*>(wParam)->lengthSeconds;
        delete reinterpret_cast<FileInfo*>(wParam);
        return 0;
    case kEngineOutputName:
        delete[] reinterpret_cast<char*>(wParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

double Seconds(const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime) /
           1e7;
}

double CpuSeconds(const FILETIME& kernel, const FILETIME& user) {
    return Seconds(kernel) + Seconds(user);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: player_bench <file to play> [equaliser]\n");
        return 2;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Notifications;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QvlPlayerBench";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("QvlPlayerBench", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HANDLE finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE next = CreateEventA(nullptr, TRUE, FALSE, nullptr);

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    EngineControl* engine = EngineCreate(window, finished, next);
    if (engine == nullptr) {
        fprintf(stderr, "player_bench: the engine did not start\n");
        return 1;
    }
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, EngineThreadId(engine));
    QueryPerformanceCounter(&start);
    if (argc == 3) {
        // Every band in use: the filter's whole cost.
        auto* settings = new EqualiserSettings{1, -30, {30, -30, 30, -30, 30, -30, 30, -30, 30, -30}};
        EnginePost(engine, kEngineSetEqualiser, 0, reinterpret_cast<LPARAM>(settings));
    }
    EnginePostOpen(engine, argv[1]);
    EnginePost(engine, kEnginePlay);
    MSG msg;
    while (!g_stopped && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    QueryPerformanceCounter(&end);

    FILETIME created, exited, kernel, user;
    double engineCpu = 0;
    if (thread != nullptr && GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
        engineCpu = CpuSeconds(kernel, user);
    }
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    double processCpu = CpuSeconds(kernel, user);
    double wall =
        static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    double audio = g_lengthSeconds;
    EngineDestroy(engine);
    if (thread != nullptr) {
        CloseHandle(thread);
    }
    printf("%s: audio %.0f s played in %.2f s\n", argc == 3 ? "equaliser on" : "equaliser off", audio, wall);
    printf(
        "engine thread: %.3f s of processor time = %.2f%% of one core over the audio's length, %.2f%% over "
        "the wall time\n",
        engineCpu, audio > 0 ? engineCpu / audio * 100 : 0.0, engineCpu / wall * 100);
    printf("whole process: %.3f s of processor time = %.2f%% of one core over the audio's length\n",
           processCpu, audio > 0 ? processCpu / audio * 100 : 0.0);
    printf("target: engine thread under 3%% of one core over the audio's length: %s\n",
           audio > 0 && engineCpu / audio < 0.03 ? "met" : "MISSED");
    return 0;
}
