// What an encoder thread reports with WM_TRACK_ENCODED: the record is allocated by the thread
// and freed by the window that finally receives it.
#pragma once

#include "companions/AudioTagCore/AudioTagCore.h"

#include <windows.h>

#include <cstddef>

class AUDIOTAGCORE_API _AUDIO_ENCODE_FINISH_RESULT {
public:
    _AUDIO_ENCODE_FINISH_RESULT();

    char title[MAX_PATH];
    char artist[MAX_PATH];
    char outputPath[MAX_PATH];
    char duration[MAX_PATH];
    char sourcePath[MAX_PATH];
    char album[MAX_PATH];
    char genre[MAX_PATH];
};

class _AUDIO_ENCODE_WORK_PARAM;

// The end of every encoder thread's track, whoever's encoder it is: a new result record filled
// from the work record, posted with the record's finished message to its window; freed here when
// it cannot be posted.
AUDIOTAGCORE_API void PostEncodeFinished(const _AUDIO_ENCODE_WORK_PARAM& work);

static_assert(sizeof(_AUDIO_ENCODE_FINISH_RESULT) == 1820);
static_assert(offsetof(_AUDIO_ENCODE_FINISH_RESULT, artist) == 0x104);
static_assert(offsetof(_AUDIO_ENCODE_FINISH_RESULT, outputPath) == 0x208);
static_assert(offsetof(_AUDIO_ENCODE_FINISH_RESULT, duration) == 0x30C);
static_assert(offsetof(_AUDIO_ENCODE_FINISH_RESULT, sourcePath) == 0x410);
static_assert(offsetof(_AUDIO_ENCODE_FINISH_RESULT, album) == 0x514);
static_assert(offsetof(_AUDIO_ENCODE_FINISH_RESULT, genre) == 0x618);
