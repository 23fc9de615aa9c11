// The capture intake: decides from the file events below the capture folder when a captured
// track is complete, queues it, and converts the queue on a worker thread one track at a time.
// It only puts its parts together; each part gets what it works on and nothing more:
//   TrackQueue        which captured WAVs are complete (file events, user-interface thread)
//   ConversionThread  takes the queue, prepares each burn's table, stops on request
//   BurnTrackTable    what CD-TEXT and the music player tell of the burn being converted
//   TrackFinisher     names, encodes and keeps or deletes each captured track
//   PipelineDriver    one track through the feeder and encoder workers
#pragma once

#include "app/framework/Scoped.h"
#include "capture/ConversionThread.h"
#include "capture/IntakeEnvironment.h"
#include "capture/PipelineDriver.h"
#include "capture/TrackFinish.h"
#include "capture/TrackQueue.h"
#include "capture/TrackTable.h"

#include <windows.h>

#include <memory>
#include <string>

class CaptureIntake {
public:
    explicit CaptureIntake(
        std::unique_ptr<IntakeEnvironment> environment = std::make_unique<IntakeEnvironment>());
    CaptureIntake(const CaptureIntake&) = delete;
    CaptureIntake& operator=(const CaptureIntake&) = delete;

    // What the program's start, exit and main window drive (user-interface thread).
    void SetCaptureFolder(const std::string& folder) { m_queue.SetCaptureFolder(folder); }
    void SetChoices(const FinishChoices& choices) { m_finisher.SetChoices(choices); }
    int OnCaptureFileEvent(const char* path) { return m_queue.OnCaptureFileEvent(path); }
    void CheckIdleSession(int* queued) { m_queue.CheckIdleSession(queued); }
    int IsBusy() { return m_queue.IsBusy(); }
    int StartConversionThread() { return m_conversion.Start(); }
    void StopConversionThread() { m_conversion.Stop(); }
    void KeepUnconvertedTracks() { m_finisher.KeepUnconvertedTracks(); }
    // The window the encoders report their progress and finished tracks to.
    void SetNotifyWindow(HWND window) { m_driver.notifyWindow = window; }

    TrackQueue& Queue() { return m_queue; }
    ConversionThread& Conversion() { return m_conversion; }
    BurnTrackTable& Table() { return m_table; }
    TrackFinisher& Finisher() { return m_finisher; }
    PipelineDriver& Driver() { return m_driver; }

private:
    std::unique_ptr<IntakeEnvironment> m_environment;
    // Shared by the queue, the stop request, the pipeline's start and the finishing choices.
    CriticalSection m_lock;
    TrackQueue m_queue;
    PipelineDriver m_driver;
    BurnTrackTable m_table;
    TrackFinisher m_finisher;
    // Last, so that it is stopped before any part it uses goes.
    ConversionThread m_conversion;
};

// The program's one intake.
CaptureIntake& GetCaptureIntake();
