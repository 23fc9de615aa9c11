#include "companions/AudioTagCore/EncodeFinishResult.h"

#include "companions/AudioTagCore/EncodeWorkParam.h"

#include <cstdio>

#include <cstring>

_AUDIO_ENCODE_FINISH_RESULT::_AUDIO_ENCODE_FINISH_RESULT() {
    std::memset(this, 0, sizeof *this);
}

namespace {

void CopyText(char (&target)[MAX_PATH], const char* text) {
    lstrcpynA(target, text, MAX_PATH);
}

// The track's length as the screens show it, always reckoned as 16-bit stereo at 44,100 Hz
// whatever the format.
void FormatDurationText(DWORD dataBytes, char* text, size_t size) {
    auto seconds = static_cast<int>(dataBytes * 0.25 * (1.0 / 44100) + 0.51);
    if (seconds >= 3600) {
        snprintf(text, size, "%d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
    } else {
        snprintf(text, size, "%d:%02d", seconds % 3600 / 60, seconds % 60);
    }
}

} // namespace

void PostEncodeFinished(const _AUDIO_ENCODE_WORK_PARAM& work) {
    if (work.notifyWindow == nullptr || work.finishedMessage == 0) {
        return;
    }
    auto* result = new _AUDIO_ENCODE_FINISH_RESULT();
    CopyText(result->title, work.tags.title.c_str());
    CopyText(result->artist, work.tags.artist.c_str());
    CopyText(result->album, work.tags.album.c_str());
    CopyText(result->genre, work.tags.genre.c_str());
    CopyText(result->outputPath, work.outputPath);
    CopyText(result->sourcePath, work.sourcePath);
    FormatDurationText(work.totalBytes, result->duration, sizeof result->duration);
    if (!PostMessageA(work.notifyWindow, work.finishedMessage, 0, reinterpret_cast<LPARAM>(result))) {
        delete result;
    }
}
