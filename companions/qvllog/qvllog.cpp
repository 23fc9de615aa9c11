#include "companions/qvllog/qvllog.h"

#include "app/framework/Scoped.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

CRITICAL_SECTION g_lock;
HANDLE g_file = INVALID_HANDLE_VALUE;

// "[2026-12-05 16:03:54.123] " before each line, so lines of two copies of the program that
// share one file can still be told apart in time.
std::string TimeStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[40];
    snprintf(text, sizeof text, "[%04u-%02u-%02u %02u:%02u:%02u.%03u] ", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

std::string FormatLine(const char* format, va_list args) {
    va_list probe;
    va_copy(probe, args);
    int length = vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (length < 0) {
        return format;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

} // namespace

QVLLOG_API int LogOpen(const char* path) {
    if (path == nullptr) {
        return 0;
    }
    // Appending through FILE_APPEND_DATA makes every WriteFile land at the end even when another
    // process writes the same file. No delete sharing: a second copy of the program must not be
    // able to delete the log of the running one.
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    ScopedLock lock(g_lock);
    if (g_file != INVALID_HANDLE_VALUE) {
        CloseHandle(g_file);
    }
    g_file = file;
    return 1;
}

QVLLOG_API void LogWrite(const char* format, ...) {
    if (format == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::string line = TimeStamp() + FormatLine(format, args) + "\r\n";
    va_end(args);

    ScopedLock lock(g_lock);
    if (g_file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(g_file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    } else {
        OutputDebugStringA(line.c_str());
    }
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&g_lock);
    } else if (reason == DLL_PROCESS_DETACH) {
        // At process exit other threads are already gone; the handle closes with the process.
        if (reserved == nullptr && g_file != INVALID_HANDLE_VALUE) {
            CloseHandle(g_file);
            g_file = INVALID_HANDLE_VALUE;
        }
        DeleteCriticalSection(&g_lock);
    }
    return TRUE;
}
