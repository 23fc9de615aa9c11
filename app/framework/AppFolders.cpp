#include "app/framework/AppFolders.h"

#include <windows.h>
#include <shlobj.h>

std::string JoinPath(const std::string& left, const std::string& right) {
    if (!left.empty() && left.back() == '\\') {
        return left + right;
    }
    return left + "\\" + right;
}

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return ".";
    }
    std::string folder(path, length);
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

std::string DocumentsFolder() {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                path))) {
        return {};
    }
    return path;
}

std::string OutputFolderRule(const std::string& documents, const std::string& programFolder) {
    if (documents.empty()) {
        return programFolder + "\\Output";
    }
    return JoinPath(documents, "My Music\\Quaverlane");
}

std::string CaptureFolderRule(const std::string& documents, const std::string& programFolder) {
    if (documents.empty()) {
        return programFolder + "\\Temp";
    }
    return JoinPath(documents, "Quaverlane");
}

std::string DefaultOutputFolder() {
    return OutputFolderRule(DocumentsFolder(), ProgramFolder());
}

std::string DefaultCaptureFolder() {
    return CaptureFolderRule(DocumentsFolder(), ProgramFolder());
}

std::string DataFolder() {
    return DefaultOutputFolder();
}

std::string ProjectFilePath() {
    return DataFolder() + "\\disc.xml";
}

std::string LogFilePath() {
    return JoinPath(DefaultCaptureFolder(), "qvl.log");
}
