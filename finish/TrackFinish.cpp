// The finishing step of every captured track: it names the output file, runs the encoder of the
// chosen format and deletes the captured WAV.
#include "capture/CaptureIntake.h"

#include "app/FolderTree.h"
#include "app/Settings.h"
#include "finish/OutputNaming.h"
#include "project/DiscCatalogue.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool IsRefused(const char* wavPath) {
    if (wavPath == nullptr || _stricmp(wavPath, kSessionEndMarker) == 0) {
        return true;
    }
    size_t length = strlen(wavPath);
    return length < 3 || _stricmp(wavPath + length - 3, "wav") != 0 ||
           CaptureIntake::TrackNumberFromFileName(wavPath) == -1;
}

std::string Trimmed(const std::string& text) {
    constexpr char kWhiteSpace[] = " \t\r\n\f\v";
    size_t first = text.find_first_not_of(kWhiteSpace);
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

// Drive and directory of a path, as the C runtime splits it.
std::string FolderPart(const std::string& path) {
    // Every part is at most as long as the whole path, so no buffer can overflow.
    std::vector<char> drive(path.size() + 1), directory(path.size() + 1);
    _splitpath(path.c_str(), drive.data(), directory.data(), nullptr, nullptr);
    return std::string(drive.data()) + directory.data();
}

} // namespace

int CaptureIntake::ConvertCapturedTrack(const char* wavPath) {
    if (IsRefused(wavPath)) {
        return 0;
    }
    int trackNumber = TrackNumberFromFileName(wavPath) + 1;
    std::string path = wavPath;
    std::string folder = path.substr(0, path.find_last_of('\\'));
    bool newSession = _stricmp(lastSessionFolder.c_str(), folder.c_str()) != 0 && !folder.empty();
    if (newSession) {
        lastSessionFolder = folder;
        // Entry 0 holds the disc's CD-TEXT: its title is the album's.
        const char* album = trackInfo[0].title;
        discLabel = Trimmed(*album != '\0' ? album : GetDiscCatalogue().DefaultDiscLabel());
    }
    finishingTrack = 1;
    const Settings& settings = GetSettings();
    // Fixed when a session's first track is converted: a changed setting waits for the next burn.
    if (newSession || sessionOutputFolder.empty()) {
        sessionOutputFolder = SessionOutputFolder(settings.outputFolder);
    }
    GetDiscCatalogue().SetPendingLabel(discLabel);
    OutputFormat format = WrittenFormat(settings.outputFormat);
    std::string outputPath = OutputPathFor(sessionOutputFolder, settings.filenameFormat, trackInfo.get(),
                                           trackNumber, discLabel, OutputExtension(format));
    CreateFolderTree(FolderPart(outputPath));
    int result =
        format == OutputFormat::Mp3 ? EncodeTrackToMp3(path, outputPath) : EncodeTrackToWav(path, outputPath);
    DeleteFileA(wavPath);
    finishingTrack = 0;
    return result;
}
