#include "app/Settings.h"

#include "app/framework/AppFolders.h"
#include "app/CARRegistry.h"
#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"
#include "finish/NameSanitiser.h"

#include <windows.h>

Settings& GetSettings() {
    static Settings settings;
    return settings;
}

void Settings::ResetToDefaults() {
    wmaCatalogue.Create();
    mp3.CreateParams();
    outputFolder = DefaultOutputFolder();
    captureFolder = DefaultCaptureFolder();
    outputFormat = OutputFormat::Mp3;
    windowLeft = windowTop = windowWidth = windowHeight = 0;
    notRunOnStartup = 0;
    languageAuto = 1;
    languageFile = "lang_eng.ini";
}

void Settings::ReleaseEncoderObjects() {
    wmaCatalogue.Release();
    mp3.ReleaseParams();
}

void Settings::ApplyCaptureFolderFromRegistry() {
    CARRegistry registry(true);
    registry.SetReadOnly(true);
    registry.SetAbsolutePath(true);
    registry.Open(kProgramKey);
    std::string folder = registry.ReadString(kCaptureFolderValue, DefaultCaptureFolder());
    if (!folder.empty()) {
        // Made absolute too: the folder is wiped at start and exit, and a relative path would
        // be taken from whatever the current folder happens to be.
        SanitisePath(folder, '-', true);
        captureFolder = folder;
    }
}

OutputFormat OutputFormatFromCodecText(const std::string& codec) {
    if (lstrcmpiA(codec.c_str(), "wav") == 0) {
        return OutputFormat::Wav;
    }
    return lstrcmpiA(codec.c_str(), "wma") == 0 ? OutputFormat::Wma : OutputFormat::Mp3;
}

std::string ReadCaptureFolderFromRegistry() {
    auto complain = [](const char* text) { MessageBoxA(nullptr, text, "Quaverlane", MB_OK); };
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProgramKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        complain("Read Temporary Folder From Registry Error (02).");
        return {};
    }
    ScopedRegKey key(opened);
    // A value longer than the buffer is refused like a missing one: no folder path is that long,
    // and the message tells the user the setting is broken.
    char buffer[2048];
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key.Get(), kCaptureFolderValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS) {
        complain("Read Temporary Folder From Registry Error (01).");
        return {};
    }
    size_t length = size >= sizeof buffer ? 2000 : size;
    std::string folder(buffer, strnlen(buffer, length));
    CreateFolderTree(folder);
    return folder;
}

void SetRunOnStartup(bool enable) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) {
        return;
    }
    ScopedRegKey key(opened);
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    if (enable) {
        std::string command = std::string(path, length) + " /silence";
        RegSetValueExA(key.Get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
    } else {
        RegDeleteValueA(key.Get(), kRunValue);
    }
}
