// One captured track through a feeder thread, a 1 MiB pipe and an encoder thread, on the
// conversion thread, which waits for both workers. The abort event and the two worker-done events
// are what the workers share with whoever stops them.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"
#include "encode/Mp3Encoder.h"

#include <windows.h>

#include <functional>
#include <string>

class CAudioEncoder;
class IWMACodecInfoManager;
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
    // Through the WMA library's encoder object, with the PCM given twice when the chosen format
    // is encoded in two passes. 0 when either object is missing. Its thread belongs to the
    // library, which writes into the work record whether the file is whole.
    int EncodeToWma(const std::string& sourcePath, const std::string& outputPath,
                    IWMACodecInfoManager* manager, CAudioEncoder* encoder, const TrackTags& tags,
                    bool* complete);

    // Tells running workers to stop.
    void Abort() { SetEvent(abortEvent); }
    // Until no worker runs; with dispatch, this thread's messages flow meanwhile.
    void WaitForWorkers(bool dispatch);

    HANDLE abortEvent = nullptr;
    HANDLE workerDoneEvents[2] = {nullptr, nullptr};
    HWND notifyWindow = nullptr;

private:
    // The encoder of a run: the program's own (format check, thread, exit code) or the WMA
    // library's (which may ask for the PCM twice).
    struct RunEncoder {
        CAudioEncoder& encoder;
        PipelineEncoder* own;
        IWMACodecInfoManager* wma;
    };
    int Run(const RunEncoder& run, const std::string& sourcePath, const std::string& outputPath,
            const TrackTags& tags, bool* complete);

    CRITICAL_SECTION& m_lock;
    std::function<bool()> m_stopRequested;
};
