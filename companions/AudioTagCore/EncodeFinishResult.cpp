#include "companions/AudioTagCore/EncodeFinishResult.h"

#include "companions/AudioTagCore/EncodeWorkParam.h"
#include "companions/AudioTagCore/TrackTimeText.h"

#include <cstring>

_AUDIO_ENCODE_FINISH_RESULT::_AUDIO_ENCODE_FINISH_RESULT() {
    std::memset(this, 0, sizeof *this);
}

namespace {

void CopyText(char (&target)[MAX_PATH], const char* text) {
    lstrcpynA(target, text, MAX_PATH);
}

// The track's length in seconds, always reckoned as 16-bit stereo at 44,100 Hz whatever the format.
int DurationSeconds(DWORD dataBytes) {
    return static_cast<int>(dataBytes * 0.25 * (1.0 / 44100) + 0.51);
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
    CopyText(result->duration, TrackTimeText(DurationSeconds(work.totalBytes)).c_str());
    if (!PostMessageA(work.notifyWindow, work.finishedMessage, 0, reinterpret_cast<LPARAM>(result))) {
        delete result;
    }
}
