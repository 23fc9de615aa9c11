#include "capture/IntakeEnvironment.h"

#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"
#include "encode/WaveFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kCueSheetName[] = "\\cuesheet.dat";

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

} // namespace

void IntakeEnvironment::DeleteSessionFolder(const std::string& folder) const {
    DeleteFolderTree(folder);
}

int IntakeEnvironment::ReadCueSheet(const std::string& folder, CueTrackTime* times) const {
    int count = 0;
    return ParseCueSheet((folder + kCueSheetName).c_str(), times, &count) != 0 ? count : 0;
}

uint64_t IntakeEnvironment::WavDataBytes(const std::string& path) const {
    // The reader takes a size the writer has not fixed yet as what the file holds so far.
    WaveFile wave;
    return SUCCEEDED(wave.Open(path.c_str(), nullptr, WaveFile::kRead)) ? wave.DataSize() : 0;
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
