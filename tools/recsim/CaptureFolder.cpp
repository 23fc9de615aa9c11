#include "tools/recsim/CaptureFolder.h"

#include "app/framework/Scoped.h"
#include "tools/recsim/Errors.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace recsim {
namespace {

constexpr char kProgramKey[] = "Software\\Quaverlane";
constexpr char kCaptureValue[] = "TempFolder";
constexpr char kMissingValue[] = "the registry value HKLM\\Software\\Quaverlane\\TempFolder is missing; name "
                                 "the capture folder with --capture DIR";
// Two recorders starting at once may pick the same number; the loser looks again.
constexpr int kNameAttempts = 10;

std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        throw RecsimError("the capture folder " + path + " is not a usable path");
    }
    std::string full(buffer, length);
    if (full.size() > 3 && (full.back() == '\\' || full.back() == '/')) {
        full.pop_back();
    }
    return full;
}

void EnsureFolder(const std::string& folder) {
    int result = SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS) {
        throw RecsimError("cannot create the capture folder " + folder + ": " + SystemMessage(result));
    }
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        throw RecsimError("the capture folder " + folder + " is not a folder");
    }
}

struct Entry {
    std::string name;
    bool folder;
};

std::vector<Entry> Entries(const std::string& folder) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAA found;
    ScopedFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) {
        ThrowLastError("cannot list the capture folder " + folder);
    }
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0) {
            entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        }
    } while (FindNextFileA(find.Get(), &found));
    return entries;
}

// Burn folders are numbered "00000001", "00000002", ...: one above the highest all-digit name in
// the capture folder (a file of that name would block the folder too). Zero padding makes the
// numbers sort, by _stricmp as the program sorts burn folders, in the order of the burns. A
// folder with another name that sorts after the new number would break that order, so it is
// reported rather than silently overtaken.
std::string NextBurnFolderName(const std::string& captureFolder) {
    std::vector<Entry> entries = Entries(captureFolder);
    unsigned long highest = 0;
    for (const Entry& entry : entries) {
        if (entry.name.size() <= 8 && entry.name.find_first_not_of("0123456789") == std::string::npos) {
            highest = std::max(highest, strtoul(entry.name.c_str(), nullptr, 10));
        }
    }
    char next[16];
    snprintf(next, sizeof next, "%08lu", highest + 1);
    for (const Entry& entry : entries) {
        if (entry.folder && _stricmp(entry.name.c_str(), next) >= 0) {
            throw RecsimError("the capture folder " + captureFolder + " holds \"" + entry.name +
                              "\", which sorts after the next burn folder \"" + next + "\"");
        }
    }
    return next;
}

} // namespace

std::string CaptureFolderFromRegistry() {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProgramKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        throw RecsimError(kMissingValue);
    }
    ScopedRegKey key(opened);
    char buffer[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = REG_NONE;
    LSTATUS status =
        RegQueryValueExA(key.Get(), kCaptureValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        throw RecsimError(kMissingValue);
    }
    if (status != ERROR_SUCCESS || type != REG_SZ || buffer[0] == '\0') {
        throw RecsimError("the registry value HKLM\\Software\\Quaverlane\\TempFolder is not a folder path");
    }
    return buffer;
}

std::string CreateBurnFolder(const std::string& captureFolder) {
    std::string capture = FullPath(captureFolder);
    EnsureFolder(capture);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string folder = capture + "\\" + NextBurnFolderName(capture);
        if (CreateDirectoryA(folder.c_str(), nullptr)) {
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ThrowLastError("cannot create the burn folder " + folder);
        }
    }
    throw RecsimError("cannot find a free burn folder name in " + capture);
}

} // namespace recsim
