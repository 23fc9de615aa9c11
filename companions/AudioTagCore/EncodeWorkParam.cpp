#include "companions/AudioTagCore/EncodeWorkParam.h"

#include <cstring>

_AUDIO_ENCODE_WORK_PARAM::_AUDIO_ENCODE_WORK_PARAM() {
    ClearAll();
}

_AUDIO_ENCODE_WORK_PARAM::~_AUDIO_ENCODE_WORK_PARAM() = default;

void _AUDIO_ENCODE_WORK_PARAM::ClearAll() {
    readPipe = nullptr;
    std::memset(&format, 0, sizeof format);
    abortEvent = nullptr;
    doneEvent = nullptr;
    dataBytes = 0;
    sampleRate = 0;
    formatConstant = 0;
    channels = 0;
    outputPath[0] = '\0';
    notifyWindow = nullptr;
    progressMessage = 0;
    finishedMessage = 0;
    secondReadPipe = nullptr;
    tags = TrackTags();
    totalBytes = 0;
    sourcePath[0] = '\0';
    reserved[0] = 0;
    reserved[1] = 0;
}
