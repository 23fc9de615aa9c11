#include "finish/OutputNaming.h"

#include "finish/NameSanitiser.h"

#include <cstdio>

namespace {

std::string Cleaned(std::string text) {
    SanitiseNameText(text, "-");
    return text;
}

// Non-overlapping, left to right; what a value brings in is not searched again.
void ReplaceToken(std::string& text, const std::string& token, const std::string& value) {
    for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size())) {
        text.replace(at, token.size(), value);
    }
}

std::string ExpandFilenameFormat(std::string format, const DiscTrackInfo& track, int trackNumber,
                                 const std::string& discLabel) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", trackNumber);
    ReplaceToken(format, "<Artist>", Cleaned(track.artist));
    ReplaceToken(format, "<Album>", Cleaned(track.album));
    ReplaceToken(format, "<Number>", number);
    ReplaceToken(format, "<Title>", Cleaned(track.title));
    ReplaceToken(format, "<Genre>", Cleaned(track.genre));
    ReplaceToken(format, "<Playlist>", Cleaned(discLabel));
    return format;
}

std::string BaseName(const std::string& filenameFormat, const DiscTrackInfo* table, int trackNumber,
                     const std::string& discLabel) {
    char fallback[300];
    std::snprintf(fallback, sizeof fallback, "%s-track%02d", discLabel.c_str(), trackNumber);
    if (trackNumber < 0 || trackNumber >= kTrackInfoCount || table == nullptr) {
        return fallback;
    }
    const DiscTrackInfo& track = table[trackNumber];
    if (filenameFormat.empty()) {
        return track.title[0] != '\0' ? track.title : fallback;
    }
    return ExpandFilenameFormat(filenameFormat, track, trackNumber, discLabel);
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

OutputFormat WrittenFormat(OutputFormat chosen) {
    return chosen == OutputFormat::Mp3 || chosen == OutputFormat::Wma ? OutputFormat::Mp3 : OutputFormat::Wav;
}

const char* OutputExtension(OutputFormat written) {
    return written == OutputFormat::Mp3 ? "MP3" : "WAV";
}

std::string OutputPathFor(const std::string& sessionFolder, const std::string& filenameFormat,
                          const DiscTrackInfo* table, int trackNumber, const std::string& discLabel,
                          const char* extension) {
    std::string name = sessionFolder + BaseName(filenameFormat, table, trackNumber, discLabel);
    std::string path = name + "." + extension;
    FoundFileInfo existing;
    for (int n = 1; FindFileInfo(path, existing) != 0; ++n) {
        path = name + std::to_string(n) + "." + extension;
    }
    return path;
}
