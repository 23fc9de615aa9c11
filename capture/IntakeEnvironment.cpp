#include "capture/IntakeEnvironment.h"

#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr char kCueSheetName[] = "\\cuesheet.dat";
// A writer that stopped early leaves these in place of the data chunk's size.
constexpr uint32_t kUnknownSize = 0xFFFFFFFF;

std::vector<std::string> ListEntries(const std::string& folder, const char* pattern, bool folders) {
    std::vector<std::string> found;
    WIN32_FIND_DATAA entry;
    ScopedFindHandle find(FindFirstFileA((folder + "\\" + pattern).c_str(), &entry));
    for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &entry) != 0) {
        bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder == folders && strcmp(entry.cFileName, ".") != 0 && strcmp(entry.cFileName, "..") != 0) {
            found.push_back(folder + "\\" + entry.cFileName);
        }
    }
    std::sort(found.begin(), found.end(),
              [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; });
    return found;
}

uint32_t Le32(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}

} // namespace

void IntakeEnvironment::DeleteSessionFolder(const std::string& folder) const {
    DeleteFolderTree(folder);
}

int IntakeEnvironment::ReadCueSheet(const std::string& folder, CueTrackTime* times) const {
    int count = 0;
    return ParseCueSheet((folder + kCueSheetName).c_str(), times, &count) != 0 ? count : 0;
}

uint64_t IntakeEnvironment::WavDataBytes(const std::string& path) const {
    // The writer holds the file open: share everything so that it is never disturbed.
    ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    std::array<uint8_t, 4096> head{};
    DWORD read = 0;
    if (!file || !GetFileSizeEx(file.Get(), &size) ||
        !ReadFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr) || read < 12 ||
        std::memcmp(head.data(), "RIFF", 4) != 0 || std::memcmp(head.data() + 8, "WAVE", 4) != 0) {
        return 0;
    }
    // The chunks before the data chunk are small; one that reaches beyond the head is no WAV
    // header this program can use.
    for (size_t at = 12; at + 8 <= read;) {
        uint32_t chunkSize = Le32(head.data() + at + 4);
        if (std::memcmp(head.data() + at, "data", 4) == 0) {
            uint64_t start = at + 8;
            uint64_t present = static_cast<uint64_t>(size.QuadPart) > start ? size.QuadPart - start : 0;
            return chunkSize == 0 || chunkSize == kUnknownSize ? present
                                                               : std::min<uint64_t>(present, chunkSize);
        }
        at += 8 + static_cast<size_t>(chunkSize) + (chunkSize & 1);
    }
    return 0;
}

bool IntakeEnvironment::HeldByWriter(const std::string& path) const {
    // Denying write access fails exactly when some handle already has it. The probe lasts a
    // moment: a writer that reopens the file in that moment is not something a recorder does.
    ScopedFileHandle probe(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

std::vector<std::string> IntakeEnvironment::ListWavs(const std::string& folder) const {
    return ListEntries(folder, "*.wav", false);
}

std::vector<std::string> IntakeEnvironment::ListFolders(const std::string& folder) const {
    return ListEntries(folder, "*", true);
}
