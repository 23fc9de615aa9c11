// The work record a pipeline driver hands to an encoder. The WMA library reads it too, so its
// layout is fixed: the offsets below hold on the 32-bit build, and the 64-bit build keeps the
// same order with its own handle and pointer widths.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"
#include "companions/AudioTagCore/AudioTagCore.h"

#include <windows.h>
#include <mmreg.h>

#include <cstddef>

class AUDIOTAGCORE_API _AUDIO_ENCODE_WORK_PARAM {
public:
    _AUDIO_ENCODE_WORK_PARAM();
    ~_AUDIO_ENCODE_WORK_PARAM();
    _AUDIO_ENCODE_WORK_PARAM(const _AUDIO_ENCODE_WORK_PARAM&) = default;
    _AUDIO_ENCODE_WORK_PARAM& operator=(const _AUDIO_ENCODE_WORK_PARAM&) = default;

    // Back to the state the constructor leaves: no handles, no texts, no tags.
    void ClearAll();

    HANDLE readPipe;           // read end of the main pipe
    WAVEFORMATEX format;       // the source's format
    HANDLE abortEvent;         // set to stop the encode
    HANDLE doneEvent;          // set by the encoder thread as its last act
    DWORD dataBytes;           // size of the source's data chunk
    DWORD sampleRate;          // copy of the format's sample rate
    DWORD formatConstant;      // 224 from the MP3 and WAV drivers, 192 from the WMA driver
    DWORD channels;            // channel count
    char outputPath[MAX_PATH]; // where the encoder writes
    HWND notifyWindow;         // receives the progress and finished messages
    UINT progressMessage;      // WM_ENCODE_PROGRESS
    UINT finishedMessage;      // WM_TRACK_ENCODED
    HANDLE secondReadPipe;     // read end of the second pipe (WMA two-pass), else null
    TrackTags tags;            // the track's metadata
    DWORD totalBytes;          // the data bytes again, for progress and the duration text
    char sourcePath[MAX_PATH]; // the captured WAV
    DWORD reserved[2];         // left as the constructor sets them
};

#ifndef _WIN64
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, readPipe) == 0x000);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, format) == 0x004);
static_assert(sizeof(WAVEFORMATEX) == 18);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, abortEvent) == 0x018);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, doneEvent) == 0x01C);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, dataBytes) == 0x020);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, sampleRate) == 0x024);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, formatConstant) == 0x028);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, channels) == 0x02C);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, outputPath) == 0x030);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, notifyWindow) == 0x134);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, progressMessage) == 0x138);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, finishedMessage) == 0x13C);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, secondReadPipe) == 0x140);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, tags) == 0x144);
static_assert(sizeof(TrackTags) == 92);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, totalBytes) == 0x1A0);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, sourcePath) == 0x1A4);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, reserved) == 0x2A8);
static_assert(sizeof(_AUDIO_ENCODE_WORK_PARAM) == 0x2B0);
#endif
