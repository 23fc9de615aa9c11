#include "finish/NameSanitiser.h"

#include "app/framework/Scoped.h"

#include <cstring>

namespace {

constexpr char kRefusedInNames[] = ":/\\*?\"<>|";

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool IsControlCharacter(char c) {
    return c >= 1 && c <= 25;
}

FILETIME LocalTime(const FILETIME& universal) {
    FILETIME local{};
    FileTimeToLocalFileTime(&universal, &local);
    return local;
}

} // namespace

void SanitisePath(std::string& path, char replacement, bool makeAbsolute) {
    if (path.size() > MAX_PATH) {
        path.resize(MAX_PATH);
    }
    for (char& c : path) {
        if (c != '\0' && strchr("*?\"<>|", c) != nullptr) {
            c = replacement;
        }
    }
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == ':' && i != 1) {
            path[i] = replacement;
        }
    }
    for (size_t i = 1; i + 1 < path.size(); ++i) {
        if (IsSeparator(path[i]) && IsSeparator(path[i + 1])) {
            path[i] = replacement;
        }
    }
    bool hasDrive = path.size() > 1 && path[1] == ':';
    bool isNetwork = path.rfind("\\\\", 0) == 0 || path.rfind("//", 0) == 0;
    if (makeAbsolute && !hasDrive && !isNetwork) {
        char system[MAX_PATH] = "";
        UINT length = GetSystemDirectoryA(system, MAX_PATH);
        if (length >= 3) {
            bool rooted = !path.empty() && IsSeparator(path[0]);
            path.insert(0, system, rooted ? 2 : 3);
        }
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        } else if (IsControlCharacter(c)) {
            c = replacement;
        }
    }
}

void SanitiseNameText(std::string& text, const std::string& replacement) {
    for (const char* refused = kRefusedInNames; *refused != '\0'; ++refused) {
        for (size_t at = text.find(*refused); at != std::string::npos;
             at = text.find(*refused, at + replacement.size())) {
            text.replace(at, 1, replacement);
        }
    }
}

void SanitiseFileName(std::string& name, char replacement) {
    for (char& c : name) {
        if ((c != '\0' && strchr(kRefusedInNames, c) != nullptr) || IsControlCharacter(c)) {
            c = replacement;
        }
    }
}

int FindFileInfo(const std::string& path, FoundFileInfo& info) {
    if (!path.empty() && path.back() == '\\') {
        return 0;
    }
    WIN32_FIND_DATAA found;
    ScopedFindHandle find(FindFirstFileA(path.c_str(), &found));
    if (!find) {
        return 0;
    }
    info.attributes = found.dwFileAttributes;
    info.size = uint64_t{found.nFileSizeHigh} << 32 | found.nFileSizeLow;
    info.creationTime = LocalTime(found.ftCreationTime);
    info.lastAccessTime = LocalTime(found.ftLastAccessTime);
    info.lastWriteTime = LocalTime(found.ftLastWriteTime);
    return 1;
}
