#include "finish/NameSanitiser.h"

#include <windows.h>

#include <cstring>

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
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
        } else if (c >= 1 && c <= 25) {
            c = replacement;
        }
    }
}
