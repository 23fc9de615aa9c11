// One captured track through a feeder thread, a 1 MiB pipe and an encoder thread, on the
// conversion thread, which waits for both workers. The abort event and the two worker-done events
// are what the workers share with whoever stops them.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"
#include "encode/Mp3Encoder.h"

#include <windows.h>

#include <functional>
#include <string>

class PipelineEncoder;

class PipelineDriver {
public:
    // stopRequested is asked under the intake's lock right before a track's events are reset:
    // either the stop sees the events reset and sets the abort after, or the track does not start.
    PipelineDriver(CRITICAL_SECTION& intakeLock, std::function<bool()> stopRequested);
    ~PipelineDriver();
    PipelineDriver(const PipelineDriver&) = delete;
    PipelineDriver& operator=(const PipelineDriver&) = delete;

    // 1 when both workers ran to their end, 0 when the conversion did not start. complete, when
    // given, tells whether the output file was written whole: every byte of the track encoded and
    // written, no abort.
    int EncodeToMp3(const std::string& sourcePath, const std::string& outputPath,
                    const Mp3EncodeOptions& options, const TrackTags& tags, bool* complete);
    int EncodeToWav(const std::string& sourcePath, const std::string& outputPath, const TrackTags& tags,
                    bool* complete);

    // Tells running workers to stop.
    void Abort() { SetEvent(abortEvent); }
    // Until no worker runs; with dispatch, this thread's messages flow meanwhile.
    void WaitForWorkers(bool dispatch);

    HANDLE abortEvent = nullptr;
    HANDLE workerDoneEvents[2] = {nullptr, nullptr};
    HWND notifyWindow = nullptr;

private:
    int Run(PipelineEncoder& encoder, const std::string& sourcePath, const std::string& outputPath,
            const TrackTags& tags, bool* complete);

    CRITICAL_SECTION& m_lock;
    std::function<bool()> m_stopRequested;
};
