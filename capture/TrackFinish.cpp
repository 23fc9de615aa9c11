// The finishing step of every captured track: it names the output file, runs the encoder of the
// chosen format and deletes the captured WAV, or keeps it when its output is not whole.
#include "capture/CaptureIntake.h"

#include "app/Settings.h"
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"
#include "capture/CdText.h"
#include "companions/qvllog/qvllog.h"
#include "finish/NameSanitiser.h"
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

// The output path with another extension, numbered like the output names when that is taken.
std::string FreePathBeside(const std::string& outputPath, const char* extension) {
    size_t dot = outputPath.find_last_of('.');
    std::string stem = outputPath.substr(
        0, dot == std::string::npos || dot < outputPath.find_last_of('\\') ? outputPath.size() : dot);
    std::string path = stem + extension;
    FoundFileInfo existing;
    for (int n = 1; FindFileInfo(path, existing) != 0; ++n) {
        path = stem + std::to_string(n) + extension;
    }
    return path;
}

// A move on the same volume is a rename; across volumes the system copies and deletes the source
// only once the copy is complete.
bool MoveWhole(const std::string& from, const std::string& to) {
    return !to.empty() &&
           MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH);
}

// A track that could not be converted is kept as the WAV it was captured as, under its output
// name; where the output folder cannot take it, in the default output folder.
void KeepCapturedTrack(const std::string& wavPath, const std::string& outputPath) {
    std::string kept = FreePathBeside(outputPath, ".WAV");
    if (!MoveWhole(wavPath, kept)) {
        std::string name = outputPath.substr(outputPath.find_last_of('\\') + 1);
        std::string folder = DefaultOutputFolder();
        CreateFolderTree(folder);
        kept = FreePathBeside(folder + "\\" + (name.empty() ? std::string("Track") : name), ".WAV");
        if (!MoveWhole(wavPath, kept)) {
            LogWrite("Track %s could not be converted nor kept: dwLastCode=0x%x", wavPath.c_str(),
                     static_cast<unsigned>(GetLastError()));
            return;
        }
    }
    LogWrite("Track %s could not be converted; the captured WAV is kept as %s", wavPath.c_str(),
             kept.c_str());
}

// Entry 0 holds the disc's CD-TEXT: its title is the album's. Without one the catalogue names it.
std::string DiscLabelOf(const DiscTrackInfo* table) {
    const char* album = table[0].title;
    return Trimmed(*album != '\0' ? album : GetDiscCatalogue().DefaultDiscLabel());
}

// The output path of track trackNumber of the table under the filename format.
std::string NamedOutputPath(const std::string& folder, const std::string& filenameFormat,
                            const DiscTrackInfo* table, int trackNumber, const std::string& label,
                            const char* extension) {
    bool inTable = table != nullptr && trackNumber >= 0 && trackNumber < kTrackInfoCount;
    TrackTags texts = NamingTexts(table, trackNumber);
    return OutputPathFor(folder, filenameFormat, inTable ? &texts : nullptr, trackNumber, label, extension);
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
        discLabel = DiscLabelOf(trackInfo.get());
    }
    finishingTrack = 1;
    const Settings& settings = GetSettings();
    // Fixed when a session's first track is converted: a changed setting waits for the next burn.
    if (newSession || sessionOutputFolder.empty()) {
        sessionOutputFolder = SessionOutputFolder(settings.outputFolder);
    }
    GetDiscCatalogue().SetPendingLabel(discLabel);
    OutputFormat format = WrittenFormat(settings.outputFormat);
    std::string outputPath = NamedOutputPath(sessionOutputFolder, settings.filenameFormat, trackInfo.get(),
                                             trackNumber, discLabel, OutputExtension(format));
    bool complete = false;
    int result = format == OutputFormat::Mp3 ? EncodeTrackToMp3(path, outputPath, &complete)
                                             : EncodeTrackToWav(path, outputPath, &complete);
    // The captured WAV goes only once its output is whole: the capture folder is wiped at every
    // start and exit, so a track left there would be lost.
    if (complete) {
        DeleteFileA(wavPath);
    } else {
        KeepCapturedTrack(path, outputPath);
    }
    finishingTrack = 0;
    return result;
}

void CaptureIntake::KeepUnconvertedTracks() {
    const std::string& captureFolder = queue.CaptureFolder();
    if (captureFolder.empty()) {
        return;
    }
    const Settings& settings = GetSettings();
    for (const std::string& burn : environment->ListFolders(captureFolder)) {
        std::vector<std::string> waiting = environment->ListWavs(burn);
        std::erase_if(waiting, [this](const std::string& wav) { return IsTrackFinished(wav.c_str()) != 0; });
        if (waiting.empty()) {
            continue;
        }
        // Named as their conversion would have named them, from the burn's own CD-TEXT: the
        // music player is not asked on the way in or out.
        ClearTrackInfo();
        {
            ScopedLock hold(lock);
            ParseLeadIn((burn + "\\leadin.dat").c_str(), trackInfo.get(), &cdTextTrackCount);
        }
        std::string label = DiscLabelOf(trackInfo.get());
        std::string folder = SessionOutputFolder(settings.outputFolder);
        for (const std::string& wav : waiting) {
            KeepCapturedTrack(wav, NamedOutputPath(folder, settings.filenameFormat, trackInfo.get(),
                                                   TrackNumberFromFileName(wav.c_str()) + 1, label, "WAV"));
        }
    }
    lastSessionFolder.clear();
}
