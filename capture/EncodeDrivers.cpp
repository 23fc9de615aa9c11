// The pipeline drivers: one captured track through a feeder thread, a 1 MiB pipe and an encoder
// thread, on the conversion thread, which waits for both workers.
#include "capture/CaptureIntake.h"

#include "app/Messages.h"
#include "app/Settings.h"
#include "app/framework/Scoped.h"
#include "encode/Mp3Encoder.h"
#include "encode/PipeFeeder.h"
#include "encode/WavEncoder.h"
#include "encode/WaveFile.h"

#include <cstring>

namespace {

constexpr DWORD kPipeBytes = 0x100000;
constexpr DWORD kOwnEncodersConstant = 224;

} // namespace

int CaptureIntake::EncodeTrackToMp3(const std::string& sourcePath, const std::string& outputPath,
                                    bool* complete) {
    // The encoder works from a copy of the choices as they stand when the track starts.
    Mp3EncoderSettings& settings = GetSettings().mp3;
    Mp3Encoder encoder({settings.Current(), settings.id3v1 != 0, settings.id3v2 != 0});
    return RunPipeline(encoder, sourcePath, outputPath, complete);
}

int CaptureIntake::EncodeTrackToWav(const std::string& sourcePath, const std::string& outputPath,
                                    bool* complete) {
    WavEncoder encoder;
    return RunPipeline(encoder, sourcePath, outputPath, complete);
}

int CaptureIntake::RunPipeline(PipelineEncoder& encoder, const std::string& sourcePath,
                               const std::string& outputPath, bool* complete) {
    if (complete != nullptr) {
        *complete = false;
    }
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
    // A header may claim any format; what the encoder cannot take never reaches it.
    if (encoder.IsReady() == 0 || !encoder.IsFormatSupported(format)) {
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

    {
        // A stop that came before this point must not be wiped out with the last track's abort:
        // either the stop sees the events reset and sets the abort after, or this sees the stop.
        ScopedLock hold(lock);
        if (stopRequested != 0) {
            CloseHandle(pipeRead);
            CloseHandle(pipeWrite);
            return 0;
        }
        ResetEvent(abortEvent);
        ResetEvent(workerDoneEvents[0]);
        ResetEvent(workerDoneEvents[1]);
    }
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
    // The done events are the workers' last act: wait for the threads themselves before asking
    // how they ended. An abort, even one that came after the last byte, leaves the track unsure.
    feeder.Join();
    encoder.Join();
    if (complete != nullptr) {
        *complete = feeder.ExitCode() == WavPipeFeeder::kDone &&
                    encoder.ExitCode() == PipelineEncoder::kDone &&
                    WaitForSingleObject(abortEvent, 0) == WAIT_TIMEOUT;
    }
    return 1;
}
