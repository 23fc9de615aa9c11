// Cleaning paths and names before they reach the file system, and asking whether a name is taken.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Cleans a folder path: characters Windows refuses become the replacement, doubled separators
// collapse, a relative path can be put on the system drive, "/" becomes "\".
void SanitisePath(std::string& path, char replacement, bool makeAbsolute);

// Replaces each of : / \ * ? " < > | by the replacement text, one character after the other in
// that order; text that a replacement brings in is not looked at again for the same character.
void SanitiseNameText(std::string& text, const std::string& replacement);

// Replaces every character Windows refuses in a file name, and every control character from 1 to
// 25, by the replacement.
void SanitiseFileName(std::string& name, char replacement);

// What FindFileInfo learns of an existing file or folder; the times are local times.
struct FoundFileInfo {
    DWORD attributes = 0;
    uint64_t size = 0;
    FILETIME creationTime{};
    FILETIME lastAccessTime{};
    FILETIME lastWriteTime{};
};

// 1 when a file or folder of that path exists (info then describes it), else 0. A path that ends
// in "\" is never found.
int FindFileInfo(const std::string& path, FoundFileInfo& info);
