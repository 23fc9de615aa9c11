#include "app/framework/FolderTree.h"

#include "app/framework/Scoped.h"

#include <windows.h>

namespace {

using ShCreateDirectoryExA = int(WINAPI*)(HWND, const char*, const SECURITY_ATTRIBUTES*);

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Looked up once; shell32 stays loaded for the life of the process.
ShCreateDirectoryExA ShellCreateFunction() {
    static const ShCreateDirectoryExA function = [] {
        HMODULE shell = LoadLibraryA("shell32.dll");
        return shell != nullptr
                   ? reinterpret_cast<ShCreateDirectoryExA>(GetProcAddress(shell, "SHCreateDirectoryExA"))
                   : nullptr;
    }();
    return function;
}

} // namespace

bool CreateFolderTree(const std::string& path) {
    if (ShCreateDirectoryExA create = ShellCreateFunction()) {
        // The shell wants a full path and no trailing separator; it reports an existing folder
        // as an error, which is success for us.
        std::string target = path;
        if (target.size() > 3 && target.back() == '\\') {
            target.pop_back();
        }
        create(nullptr, target.c_str(), nullptr);
        if (IsFolder(target)) {
            return true;
        }
    }
    return CreateFolderTreeByHand(path);
}

bool CreateFolderTreeByHand(const std::string& path) {
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    if (folder.empty()) {
        return false;
    }
    if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return IsFolder(folder);
    }
    size_t slash = folder.find_last_of('\\');
    if (slash != std::string::npos && slash > 0) {
        CreateFolderTreeByHand(folder.substr(0, slash));
    }
    return CreateDirectoryA(folder.c_str(), nullptr) != 0 || IsFolder(folder);
}

void DeleteFolderTree(const std::string& path) {
    std::string prefix = path;
    if (prefix.empty() || prefix.back() != '\\') {
        prefix += '\\';
    }
    WIN32_FIND_DATAA entry;
    ScopedFindHandle find(FindFirstFileA((prefix + "*.*").c_str(), &entry));
    if (find) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string child = prefix + name;
            bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && link) {
                // A junction or folder link: remove the link, never what it points at.
                RemoveDirectoryA(child.c_str());
            } else if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                DeleteFolderTree(child);
            } else {
                // A read-only file would otherwise stay and keep its folder alive.
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
                    SetFileAttributesA(child.c_str(), entry.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
                }
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find.Get(), &entry));
    }
    RemoveDirectoryA(path.c_str());
}

bool IsVolumeRoot(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    if (folder.size() <= 2) {
        return true;
    }
    if (folder.rfind("\\\\", 0) == 0) {
        size_t serverEnd = folder.find('\\', 2);
        return serverEnd == std::string::npos || folder.find('\\', serverEnd + 1) == std::string::npos;
    }
    return false;
}
