#include "capture/TrackFinish.h"

#include "app/Settings.h"
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"
#include "capture/IntakeEnvironment.h"
#include "capture/PipelineDriver.h"
#include "capture/TrackQueue.h"
#include "capture/TrackTable.h"
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
           TrackQueue::TrackNumberFromFileName(wavPath) == -1;
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

FinishChoices FinishChoicesFrom(Settings& settings) {
    return {settings.outputFolder,
            settings.filenameFormat,
            settings.outputFormat,
            {settings.mp3.Current(), settings.mp3.id3v1 != 0, settings.mp3.id3v2 != 0},
            settings.wmaCatalogue.Manager(),
            settings.wmaCatalogue.Encoder()};
}

TrackFinisher::TrackFinisher(CRITICAL_SECTION& lock, BurnTrackTable& table, PipelineDriver& driver,
                             TrackQueue& queue, IntakeEnvironment& environment)
    : m_lock(lock), m_table(table), m_driver(driver), m_queue(queue), m_environment(environment) {}

void TrackFinisher::SetChoices(const FinishChoices& choices) {
    ScopedLock hold(m_lock);
    m_choices = choices;
}

FinishChoices TrackFinisher::CurrentChoices() {
    ScopedLock hold(m_lock);
    return m_choices;
}

TrackTags TrackFinisher::TagsOf(const std::string& sourcePath) {
    TrackTags tags;
    BuildTrackTags(m_table.Records(), TrackQueue::TrackNumberFromFileName(sourcePath.c_str()) + 1,
                   m_discLabel, tags);
    return tags;
}

int TrackFinisher::EncodeTrack(OutputFormat format, const std::string& sourcePath,
                               const std::string& outputPath, bool* complete) {
    return Encode(CurrentChoices(), format, sourcePath, outputPath, complete);
}

int TrackFinisher::Encode(const FinishChoices& choices, OutputFormat format, const std::string& sourcePath,
                          const std::string& outputPath, bool* complete) {
    switch (format) {
    case OutputFormat::Mp3:
        return m_driver.EncodeToMp3(sourcePath, outputPath, choices.mp3, TagsOf(sourcePath), complete);
    case OutputFormat::Wma:
        return m_driver.EncodeToWma(sourcePath, outputPath, choices.wmaManager, choices.wmaEncoder,
                                    TagsOf(sourcePath), complete);
    default:
        return m_driver.EncodeToWav(sourcePath, outputPath, TagsOf(sourcePath), complete);
    }
}

int TrackFinisher::ConvertCapturedTrack(const char* wavPath) {
    if (IsRefused(wavPath)) {
        return 0;
    }
    int trackNumber = TrackQueue::TrackNumberFromFileName(wavPath) + 1;
    std::string path = wavPath;
    std::string folder = path.substr(0, path.find_last_of('\\'));
    bool newSession = _stricmp(m_sessionFolder.c_str(), folder.c_str()) != 0 && !folder.empty();
    if (newSession) {
        m_sessionFolder = folder;
        m_discLabel = DiscLabelOf(m_table.Records());
    }
    m_finishing = true;
    FinishChoices choices = CurrentChoices();
    // Fixed when a session's first track is converted: a changed setting waits for the next burn.
    if (newSession || m_sessionOutputFolder.empty()) {
        m_sessionOutputFolder = ::SessionOutputFolder(choices.outputFolder);
    }
    GetDiscCatalogue().SetPendingLabel(m_discLabel);
    OutputFormat format = WrittenFormat(choices.outputFormat, choices.wmaManager != nullptr);
    std::string outputPath = NamedOutputPath(m_sessionOutputFolder, choices.filenameFormat, m_table.Records(),
                                             trackNumber, m_discLabel, OutputExtension(format));
    bool complete = false;
    int result = Encode(choices, format, path, outputPath, &complete);
    // The captured WAV goes only once its output is whole: the capture folder is wiped at every
    // start and exit, so a track left there would be lost.
    if (complete) {
        DeleteFileA(wavPath);
    } else {
        KeepCapturedTrack(path, outputPath);
    }
    m_finishing = false;
    return result;
}

void TrackFinisher::KeepUnconvertedTracks() {
    const std::string& captureFolder = m_queue.CaptureFolder();
    if (captureFolder.empty()) {
        return;
    }
    FinishChoices choices = CurrentChoices();
    for (const std::string& burn : m_environment.ListFolders(captureFolder)) {
        std::vector<std::string> waiting = m_environment.ListWavs(burn);
        std::erase_if(waiting,
                      [this](const std::string& wav) { return m_queue.IsTrackFinished(wav.c_str()) != 0; });
        if (waiting.empty()) {
            continue;
        }
        // Named as their conversion would have named them, from the burn's own CD-TEXT: the
        // music player is not asked on the way in or out.
        m_table.LoadLeadIn(burn + "\\leadin.dat");
        std::string label = DiscLabelOf(m_table.Records());
        std::string folder = ::SessionOutputFolder(choices.outputFolder);
        for (const std::string& wav : waiting) {
            KeepCapturedTrack(wav, NamedOutputPath(folder, choices.filenameFormat, m_table.Records(),
                                                   TrackQueue::TrackNumberFromFileName(wav.c_str()) + 1,
                                                   label, "WAV"));
        }
    }
    m_sessionFolder.clear();
}
