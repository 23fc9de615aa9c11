#include "capture/HandoverJournal.h"

#include "app/framework/Scoped.h"

#include <windows.h>

std::unique_ptr<HandoverJournal> HandoverJournal::FromEnvironment() {
    char path[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA(kVariable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    return std::make_unique<HandoverJournal>(path);
}

int HandoverJournal::ConvertCapturedTrack(CaptureIntake& intake, const std::string& wavPath) {
    int track = CaptureIntake::TrackNumberFromFileName(wavPath.c_str()) + 1;
    TrackTags tags;
    intake.GetTrackTags(tags, track);
    const DiscTrackInfo& disc = intake.TrackInfo()[0];
    std::string line = std::to_string(GetTickCount()) + "\t" + wavPath + "\t" + std::to_string(track) + "\t" +
                       disc.title + "\t" + tags.title.c_str() + "\t" + tags.artist.c_str() + "\r\n";
    ScopedFileHandle file(CreateFileA(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return 0;
    }
    DWORD written = 0;
    WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return 1;
}
