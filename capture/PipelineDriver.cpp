#include "capture/PipelineDriver.h"

#include "app/Messages.h"
#include "app/framework/MessagePump.h"
#include "app/framework/Scoped.h"
#include "companions/AudioTagCore/EncodeOutcome.h"
#include "encode/Mp3Encoder.h"
#include "encode/PipeFeeder.h"
#include "encode/WavEncoder.h"
#include "encode/WaveFile.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"

#include <cstring>

namespace {

constexpr DWORD kPipeBytes = 0x100000;
constexpr DWORD kOwnEncodersConstant = 224;
constexpr DWORD kWmaConstant = 192;

} // namespace

PipelineDriver::PipelineDriver(CRITICAL_SECTION& intakeLock, std::function<bool()> stopRequested)
    : m_lock(intakeLock), m_stopRequested(std::move(stopRequested)) {
    abortEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    workerDoneEvents[0] = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    workerDoneEvents[1] = CreateEventA(nullptr, TRUE, TRUE, nullptr);
}

PipelineDriver::~PipelineDriver() {
    for (HANDLE event : {abortEvent, workerDoneEvents[0], workerDoneEvents[1]}) {
        if (event != nullptr) {
            CloseHandle(event);
        }
    }
}

void PipelineDriver::WaitForWorkers(bool dispatch) {
    if (dispatch) {
        WaitAllWhileDispatching(workerDoneEvents, 2);
    } else {
        WaitForMultipleObjects(2, workerDoneEvents, TRUE, INFINITE);
    }
}

int PipelineDriver::EncodeToMp3(const std::string& sourcePath, const std::string& outputPath,
                                const Mp3EncodeOptions& options, const TrackTags& tags, bool* complete) {
    Mp3Encoder encoder(options);
    return Run({encoder, &encoder, nullptr}, sourcePath, outputPath, tags, complete);
}

int PipelineDriver::EncodeToWav(const std::string& sourcePath, const std::string& outputPath,
                                const TrackTags& tags, bool* complete) {
    WavEncoder encoder;
    return Run({encoder, &encoder, nullptr}, sourcePath, outputPath, tags, complete);
}

int PipelineDriver::EncodeToWma(const std::string& sourcePath, const std::string& outputPath,
                                IWMACodecInfoManager* manager, CAudioEncoder* encoder, const TrackTags& tags,
                                bool* complete) {
    if (complete != nullptr) {
        *complete = false;
    }
    if (manager == nullptr || encoder == nullptr) {
        return 0;
    }
    return Run({*encoder, nullptr, manager}, sourcePath, outputPath, tags, complete);
}

int PipelineDriver::Run(const RunEncoder& run, const std::string& sourcePath, const std::string& outputPath,
                        const TrackTags& tags, bool* complete) {
    CAudioEncoder& encoder = run.encoder;
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
    if (encoder.IsReady() == 0 || (run.own != nullptr && !run.own->IsFormatSupported(format))) {
        return 0;
    }
    HANDLE pipeRead = nullptr;
    HANDLE pipeWrite = nullptr;
    if (!CreatePipe(&pipeRead, &pipeWrite, nullptr, kPipeBytes)) {
        MessageBoxA(nullptr, "Create Pipe error!", "Quaverlane", MB_OK);
        return 0;
    }
    // A two-pass format gets the whole track first through a pipe of its own.
    HANDLE secondRead = nullptr;
    HANDLE secondWrite = nullptr;
    if (run.wma != nullptr && run.wma->IsTwoPass() != 0 &&
        !CreatePipe(&secondRead, &secondWrite, nullptr, kPipeBytes)) {
        CloseHandle(pipeRead);
        CloseHandle(pipeWrite);
        MessageBoxA(nullptr, "Create Pipe error!", "Quaverlane", MB_OK);
        return 0;
    }

    PipeFeederParams params{};
    params.pipeWrite = pipeWrite;
    params.abortEvent = abortEvent;
    params.doneEvent = workerDoneEvents[0];
    params.secondPipeWrite = secondWrite;
    lstrcpynA(params.sourcePath, sourcePath.c_str(), MAX_PATH);

    _AUDIO_ENCODE_WORK_PARAM work;
    work.readPipe = pipeRead;
    work.format = format;
    work.abortEvent = abortEvent;
    work.doneEvent = workerDoneEvents[1];
    work.dataBytes = dataBytes;
    work.sampleRate = format.nSamplesPerSec;
    work.formatConstant = run.own != nullptr ? kOwnEncodersConstant : kWmaConstant;
    work.secondReadPipe = secondRead;
    work.channels = format.nChannels;
    lstrcpynA(work.outputPath, outputPath.c_str(), MAX_PATH);
    work.notifyWindow = notifyWindow;
    work.progressMessage = WM_ENCODE_PROGRESS;
    work.finishedMessage = WM_TRACK_ENCODED;
    work.tags = tags;
    work.totalBytes = dataBytes;
    lstrcpynA(work.sourcePath, sourcePath.c_str(), MAX_PATH);

    {
        // A stop that came before this point must not be wiped out with the last track's abort:
        // either the stop sees the events reset and sets the abort after, or this sees the stop.
        ScopedLock hold(m_lock);
        if (m_stopRequested()) {
            for (HANDLE pipe : {pipeRead, pipeWrite, secondRead, secondWrite}) {
                if (pipe != nullptr) {
                    CloseHandle(pipe);
                }
            }
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
        if (secondWrite != nullptr) {
            CloseHandle(secondWrite);
        }
        SetEvent(workerDoneEvents[0]);
    }
    if (encoder.StartEncode(&work) == 0) {
        CloseHandle(pipeRead);
        if (secondRead != nullptr) {
            CloseHandle(secondRead);
        }
        SetEvent(workerDoneEvents[1]);
    }
    WaitForMultipleObjects(2, workerDoneEvents, TRUE, INFINITE);
    // The done events are the workers' last act: wait for the threads themselves before asking
    // how they ended. An abort, even one that came after the last byte, leaves the track unsure.
    feeder.Join();
    bool encoded = false;
    if (run.own != nullptr) {
        run.own->Join();
        encoded = run.own->ExitCode() == PipelineEncoder::kDone;
    } else {
        encoded = EncodeOutcome::IsWhole(work);
    }
    if (complete != nullptr) {
        *complete = encoded && feeder.ExitCode() == WavPipeFeeder::kDone &&
                    WaitForSingleObject(abortEvent, 0) == WAIT_TIMEOUT;
    }
    return 1;
}
