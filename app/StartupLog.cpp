#include "app/StartupLog.h"

#include "app/FileVersionInfo.h"
#include "app/Settings.h"
#include "companions/qvllog/qvllog.h"

#include <windows.h>

#include <cstdio>

bool OpenStartupLog(const std::string& logPath) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(logPath.c_str(), GetFileExInfoStandard, &data)) {
        unsigned long long size =
            (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > kLogSizeLimit) {
            DeleteFileA(logPath.c_str());
        }
    }
    return LogOpen(logPath.c_str()) != 0;
}

std::string FormatVersion(unsigned long mostSignificant, unsigned long leastSignificant) {
    char text[64];
    snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(HIWORD(mostSignificant)),
             static_cast<int>(LOWORD(mostSignificant)), static_cast<int>(HIWORD(leastSignificant)),
             static_cast<int>(LOWORD(leastSignificant)));
    return text;
}

namespace {

void ReportExecutable(const char* path, const char* missingLine) {
    FileVersionInfo info;
    if (!info.Load(path)) {
        LogWrite("%s", missingLine);
        return;
    }
    const VS_FIXEDFILEINFO& fixed = info.Fixed();
    LogWrite("\tFile Version: %s", FormatVersion(fixed.dwFileVersionMS, fixed.dwFileVersionLS).c_str());
    LogWrite("\tProduct Version:%s",
             FormatVersion(fixed.dwProductVersionMS, fixed.dwProductVersionLS).c_str());
}

void ReportWindows() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    static_assert(sizeof(OSVERSIONINFOA) == 148);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
    if (!known) {
        return;
    }
    LogWrite("Windows Version Information:");
    LogWrite("\tMajor Version = %d", static_cast<int>(version.dwMajorVersion));
    LogWrite("\tMinor Version = %d", static_cast<int>(version.dwMinorVersion));
    LogWrite("\tBuild Number = %d", static_cast<int>(version.dwBuildNumber));
    LogWrite("\tPlatform Id = %d", static_cast<int>(version.dwPlatformId));
    LogWrite("\tVersion  = %.127s", version.szCSDVersion);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        LogWrite(version.dwMinorVersion == 0 ? "\tWindows 95" : "\tWindows 98");
    } else if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        LogWrite("\tWIN NT or XP");
    }
}

} // namespace

void WriteEnvironmentReport() {
    LogWrite("Software Information:");
    LogWrite("\tProgram Name: %s", "Quaverlane");
    ReportWindows();
    LogWrite("iTunes Version Information:");
    ReportExecutable("C:\\Program Files\\iTunes\\iTunes.exe", "\tCan not find iTunes.exe");
    LogWrite("Windows Media Player Version Information:");
    ReportExecutable("C:\\Program Files\\Windows Media Player\\wmplayer.exe", "\tCan not find wmplayer.exe");
    LogWrite("Temporary Folder: %s", ReadCaptureFolderFromRegistry().c_str());
}
