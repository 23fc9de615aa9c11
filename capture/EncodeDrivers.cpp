// The pipeline drivers: one captured track through a feeder thread, a 1 MiB pipe and an encoder
// thread, on the conversion thread, which waits for both workers.
#include "capture/CaptureIntake.h"

#include "app/Messages.h"
#include "encode/Mp3Encoder.h"
#include "encode/PipeFeeder.h"
#include "encode/WavEncoder.h"
#include "encode/WaveFile.h"

#include <cstring>

namespace {

constexpr DWORD kPipeBytes = 0x100000;
constexpr DWORD kOwnEncodersConstant = 224;

} // namespace

int CaptureIntake::EncodeTrackToMp3(const std::string& sourcePath, const std::string& outputPath) {
    Mp3Encoder encoder;
    return RunPipeline(encoder, sourcePath, outputPath);
}

int CaptureIntake::EncodeTrackToWav(const std::string& sourcePath, const std::string& outputPath) {
    WavEncoder encoder;
    return RunPipeline(encoder, sourcePath, outputPath);
}

int CaptureIntake::RunPipeline(CAudioEncoder& encoder, const std::string& sourcePath,
                               const std::string& outputPath) {
    WAVEFORMATEX format{};
    DWORD dataBytes = 0;
    {
        WaveFile source;
        if (FAILED(source.Open(sourcePath.c_str(), nullptr, WaveFile::kRead))) {
            return 0;
        }
        std::memcpy(&format, source.Format(), sizeof format);
        dataBytes = source.DataSize();
    }
    WavPipeFeeder feeder;
    if (encoder.IsReady() == 0) {
        return 0;
    }
    HANDLE pipeRead = nullptr;
    HANDLE pipeWrite = nullptr;
    if (!CreatePipe(&pipeRead, &pipeWrite, nullptr, kPipeBytes)) {
        MessageBoxA(nullptr, "Create Pipe error!", "Quaverlane", MB_OK);
        return 0;
    }

    PipeFeederParams params{};
    params.pipeWrite = pipeWrite;
    params.abortEvent = abortEvent;
    params.doneEvent = workerDoneEvents[0];
    lstrcpynA(params.sourcePath, sourcePath.c_str(), MAX_PATH);

    _AUDIO_ENCODE_WORK_PARAM work;
    work.readPipe = pipeRead;
    work.format = format;
    work.abortEvent = abortEvent;
    work.doneEvent = workerDoneEvents[1];
    work.dataBytes = dataBytes;
    work.sampleRate = format.nSamplesPerSec;
    work.formatConstant = kOwnEncodersConstant;
    work.channels = format.nChannels;
    lstrcpynA(work.outputPath, outputPath.c_str(), MAX_PATH);
    work.notifyWindow = notifyWindow;
    work.progressMessage = WM_ENCODE_PROGRESS;
    work.finishedMessage = WM_TRACK_ENCODED;
    GetTrackTags(work.tags, TrackNumberFromFileName(sourcePath.c_str()) + 1);
    work.totalBytes = dataBytes;
    lstrcpynA(work.sourcePath, sourcePath.c_str(), MAX_PATH);

    ResetEvent(abortEvent);
    ResetEvent(workerDoneEvents[0]);
    ResetEvent(workerDoneEvents[1]);
    // A worker that did not start would never set its event, and the other one would wait on
    // the pipe for ever: stand in for it.
    if (feeder.Start(params) == 0) {
        CloseHandle(pipeWrite);
        SetEvent(workerDoneEvents[0]);
    }
    if (encoder.StartEncode(&work) == 0) {
        CloseHandle(pipeRead);
        SetEvent(workerDoneEvents[1]);
    }
    WaitForMultipleObjects(2, workerDoneEvents, TRUE, INFINITE);
    return 1;
}
