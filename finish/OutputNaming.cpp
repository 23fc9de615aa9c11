#include "finish/OutputNaming.h"

#include "app/framework/FolderTree.h"
#include "finish/NameSanitiser.h"

#include <algorithm>
#include <cstdio>

namespace {

// The longest full path the file functions take without the long-path prefix, terminator aside.
constexpr size_t kMaxFullPath = MAX_PATH - 1;
constexpr char kReplacement = '-';

bool IsControl(char c) {
    return (c > 0 && c < 32) || c == 127;
}

// A value from the burn or the player: nothing in it may act as a separator, a wildcard or a
// character the file system refuses.
std::string Cleaned(std::string text) {
    SanitiseNameText(text, "-");
    for (char& c : text) {
        if (IsControl(c)) {
            c = kReplacement;
        }
    }
    return text;
}

// Names that open a device rather than a file, whatever extension follows them.
bool IsDeviceName(const std::string& component) {
    std::string stem = component.substr(0, component.find('.'));
    stem.erase(stem.find_last_not_of(' ') + 1);
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : kDevices) {
        if (_stricmp(stem.c_str(), device) == 0) {
            return true;
        }
    }
    return stem.size() == 4 &&
           (_strnicmp(stem.c_str(), "COM", 3) == 0 || _strnicmp(stem.c_str(), "LPT", 3) == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

// "CON" becomes "CON-" and "NUL.txt" "NUL-.txt": the system looks only at the part before the
// first dot.
std::string AvoidDevice(std::string name) {
    if (IsDeviceName(name)) {
        name.insert(std::min(name.find('.'), name.size()), 1, kReplacement);
    }
    return name;
}

// A folder name the file system takes as written: no trailing dots or blanks (they would be
// dropped, turning "Album." into "Album" and ".." into the parent), never empty, never a device.
std::string SafeFolderName(std::string name) {
    name.erase(name.find_last_not_of(". ") + 1);
    if (name.empty()) {
        name = std::string(1, kReplacement);
    }
    return AvoidDevice(name);
}

// Non-overlapping, left to right; what a value brings in is not searched again.
void ReplaceToken(std::string& text, const std::string& token, const std::string& value) {
    for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size())) {
        text.replace(at, token.size(), value);
    }
}

std::string ExpandFilenameFormat(std::string format, const TrackTags& track, int trackNumber,
                                 const std::string& discLabel) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", trackNumber);
    ReplaceToken(format, "<Artist>", Cleaned(track.artist.c_str()));
    ReplaceToken(format, "<Album>", Cleaned(track.album.c_str()));
    ReplaceToken(format, "<Number>", number);
    ReplaceToken(format, "<Title>", Cleaned(track.title.c_str()));
    ReplaceToken(format, "<Genre>", Cleaned(track.genre.c_str()));
    ReplaceToken(format, "<Playlist>", Cleaned(discLabel));
    return format;
}

std::string BaseName(const std::string& filenameFormat, const TrackTags* track, int trackNumber,
                     const std::string& discLabel) {
    char fallback[300];
    std::snprintf(fallback, sizeof fallback, "%s-track%02d", Cleaned(discLabel).c_str(), trackNumber);
    if (track == nullptr) {
        return fallback;
    }
    if (filenameFormat.empty()) {
        return !track->title.empty() ? Cleaned(track->title.c_str()) : fallback;
    }
    return ExpandFilenameFormat(filenameFormat, *track, trackNumber, discLabel);
}

// The folder below the session folder and the file's base name, each part made safe.
struct PlannedName {
    std::string folder; // ends in "\"
    std::string base;
};

PlannedName PlanName(const std::string& sessionFolder, const std::string& relative) {
    PlannedName plan{sessionFolder, {}};
    size_t start = 0;
    for (size_t slash = relative.find_first_of("\\/"); slash != std::string::npos;
         start = slash + 1, slash = relative.find_first_of("\\/", start)) {
        plan.folder += SafeFolderName(relative.substr(start, slash - start)) + "\\";
    }
    plan.base = AvoidDevice(relative.substr(start));
    return plan;
}

// The whole path, its base name cut so that the number and the extension still fit; empty when
// not even one character of the base fits.
std::string FittedPath(const PlannedName& plan, const std::string& tail) {
    size_t fixed = plan.folder.size() + tail.size();
    if (fixed >= kMaxFullPath) {
        return {};
    }
    return plan.folder + plan.base.substr(0, kMaxFullPath - fixed) + tail;
}

// Whether path, made absolute, lies below folder: the last guard before anything is written.
bool LiesInside(const std::string& path, const std::string& folder) {
    char full[MAX_PATH];
    char fullFolder[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    DWORD folderLength = GetFullPathNameA(folder.c_str(), MAX_PATH, fullFolder, nullptr);
    return length > 0 && length < MAX_PATH && folderLength > 0 && folderLength < MAX_PATH &&
           length > folderLength && _strnicmp(full, fullFolder, folderLength) == 0 &&
           (fullFolder[folderLength - 1] == '\\' || full[folderLength] == '\\');
}

} // namespace

std::string SessionOutputFolder(const std::string& outputFolderSetting) {
    std::string folder = outputFolderSetting;
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    SanitisePath(folder, '-', true);
    return folder;
}

OutputFormat WrittenFormat(OutputFormat chosen, bool wmaAvailable) {
    switch (chosen) {
    case OutputFormat::Mp3:
        return OutputFormat::Mp3;
    case OutputFormat::Wma:
        return wmaAvailable ? OutputFormat::Wma : OutputFormat::Mp3;
    default:
        return OutputFormat::Wav;
    }
}

const char* OutputExtension(OutputFormat written) {
    switch (written) {
    case OutputFormat::Mp3:
        return "MP3";
    case OutputFormat::Wma:
        return "WMA";
    default:
        return "WAV";
    }
}

std::string OutputPathFor(const std::string& sessionFolder, const std::string& filenameFormat,
                          const TrackTags* track, int trackNumber, const std::string& discLabel,
                          const char* extension) {
    PlannedName plan = PlanName(sessionFolder, BaseName(filenameFormat, track, trackNumber, discLabel));
    // Folders so deep that no name fits are given up for the session folder itself.
    if (FittedPath(plan, std::string(".") + extension + "999").empty()) {
        plan.folder = sessionFolder;
    }
    if (!LiesInside(plan.folder + "x", sessionFolder)) {
        plan = PlanName(sessionFolder, BaseName("", nullptr, trackNumber, discLabel));
    }
    // A device name or a missing folder would mislead the free-name check.
    CreateFolderTree(plan.folder);
    std::string path = FittedPath(plan, std::string(".") + extension);
    FoundFileInfo existing;
    for (int n = 1; FindFileInfo(path, existing) != 0; ++n) {
        path = FittedPath(plan, std::to_string(n) + "." + extension);
    }
    return path;
}
