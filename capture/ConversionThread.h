// The conversion thread of the capture intake: it empties the queue one track at a time,
// prepares each burn's per-track table once, and hands every track to the finishing step.
#pragma once

#include "app/framework/WorkerThread.h"
#include "capture/PlayerLookup.h"

#include <windows.h>

#include <string>

class BurnTrackTable;
class IntakeEnvironment;
class PipelineDriver;
class TrackFinisher;
class TrackQueue;

class ConversionThread {
public:
    // lock guards the stop request; the driver's abort event doubles as the stop signal.
    ConversionThread(CRITICAL_SECTION& lock, const IntakeEnvironment& environment, TrackQueue& queue,
                     BurnTrackTable& table, PipelineDriver& driver, TrackFinisher& finisher);
    // Stops and joins the thread, its workers included, without dispatching messages.
    ~ConversionThread();
    ConversionThread(const ConversionThread&) = delete;
    ConversionThread& operator=(const ConversionThread&) = delete;

    int Start();
    // Stops the thread wherever it is (a running encode is aborted) and waits for it and its
    // workers while dispatching this thread's messages. Idempotent.
    void Stop();
    // True once a stop was asked for; long steps on the conversion thread ask between calls.
    bool StopRequested();

    // Where burn preparations ask the music player; null for nowhere.
    void SetPlayerLookup(IPlayerLookup* playerLookup) { m_lookup = playerLookup; }
    // A new burn session: the table filled from the folder's lead-in and completed from the music
    // player.
    void PrepareSession(const std::string& folder);

private:
    static unsigned __stdcall ThreadProc(void* owner);
    void RequestStop();
    void Run();

    CRITICAL_SECTION& m_lock;
    const IntakeEnvironment& m_environment;
    TrackQueue& m_queue;
    BurnTrackTable& m_table;
    PipelineDriver& m_driver;
    TrackFinisher& m_finisher;
    IPlayerLookup* m_lookup = &ITunesLookup();
    bool m_stopRequested = false;
    CWorkerThread m_thread;
};
