// The capture intake: decides from the file events below the capture folder when a captured
// track is complete, queues it, and converts the queue on a worker thread one track at a time.
#pragma once

#include "app/framework/WorkerThread.h"
#include "capture/DiscTrackInfo.h"
#include "capture/IntakeEnvironment.h"
#include "capture/PipelineDriver.h"
#include "capture/PlayerLookup.h"
#include "capture/TrackQueue.h"
#include "capture/TrackTable.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class CaptureIntake;

// Completes the per-track table of a burn from the running music player.
class IPlayerLookup {
public:
    virtual int LookupByCdText(CaptureIntake& intake) = 0;
    virtual int LookupByCueSheet(CaptureIntake& intake, const std::string& cueSheetPath) = 0;

protected:
    ~IPlayerLookup() = default;
};

class CaptureIntake {
public:
    explicit CaptureIntake(
        std::unique_ptr<IntakeEnvironment> environment = std::make_unique<IntakeEnvironment>());
    ~CaptureIntake();
    CaptureIntake(const CaptureIntake&) = delete;
    CaptureIntake& operator=(const CaptureIntake&) = delete;

    // Track file queue (user-interface thread unless noted); the queue itself is TrackQueue.
    void SetCaptureFolder(const std::string& folder) { queue.SetCaptureFolder(folder); }
    int OnCaptureFileEvent(const char* path) { return queue.OnCaptureFileEvent(path); }
    BurnSession* FindOrAddSession(const char* folder) { return queue.FindOrAddSession(folder); }
    int QueueTrack(const char* path) { return queue.QueueTrack(path); }
    std::string TakeNextTrack() { return queue.TakeNextTrack(); } // conversion thread
    int IsTrackFinished(const char* path) { return queue.IsTrackFinished(path); }
    int MarkTrackFinished(const char* path) { return queue.MarkTrackFinished(path); } // conversion thread
    std::string LastFinishedTrack() { return queue.LastFinishedTrack(); }
    void CheckIdleSession(int* queued) { queue.CheckIdleSession(queued); }
    int PendingTrackCount() { return queue.PendingTrackCount(); }
    // 1 while tracks wait, one is being finished, or file events came less than the idle time ago.
    int IsBusy() {
        return queue.PendingTrackCount() != 0 || finishingTrack != 0 || queue.RecentlyActive() ? 1 : 0;
    }
    static int TrackNumberFromFileName(const char* path) { return TrackQueue::TrackNumberFromFileName(path); }
    static std::string SessionNameFromPath(const char* path) { return TrackQueue::SessionNameFromPath(path); }

    // Conversion thread.
    int StartConversionThread();
    // Stops the thread wherever it is (a running encode is aborted) and waits for it and its
    // workers while dispatching this thread's messages. Idempotent.
    void StopConversionThread();
    // True once a stop was asked for; long steps on the conversion thread ask between calls.
    bool StopRequested();
    void SetNotifyWindow(HWND window) { driver.notifyWindow = window; }
    void ClearTrackInfo();
    int GetTrackTags(TrackTags& tags, int n);

    // Pipeline drivers (conversion thread): 1 when both workers ran to their end, 0 when the
    // conversion did not start. complete, when given, tells whether the output file was written
    // whole: every byte of the track encoded and written, tags included, no abort.
    int EncodeTrackToMp3(const std::string& sourcePath, const std::string& outputPath,
                         bool* complete = nullptr);
    int EncodeTrackToWav(const std::string& sourcePath, const std::string& outputPath,
                         bool* complete = nullptr);

    // Track finish (conversion thread): names the output file from the filename format and
    // encodes the captured WAV into it; the WAV is deleted once the output is whole, otherwise it
    // goes into the output folder under the output name. 0 when the path is no captured track
    // (nothing done), otherwise the encoder driver's result.
    int ConvertCapturedTrack(const char* wavPath);
    // Before the capture folder is wiped (start and exit, the conversion thread stopped): every
    // captured WAV that was not converted goes into the output folder under its output name.
    void KeepUnconvertedTracks();

    // Where burn preparations ask the music player; null for nowhere.
    void SetPlayerLookup(IPlayerLookup* playerLookup) { lookup = playerLookup; }
    // A new burn session (conversion thread): the table cleared, then filled from the folder's
    // lead-in and completed from the music player.
    void PrepareSession(const std::string& folder);

    const std::vector<std::unique_ptr<BurnSession>>& Sessions() const { return queue.Sessions(); }
    const DiscTrackInfo* TrackInfo() const { return trackInfo.get(); }
    DiscTrackInfo* TrackInfo() { return trackInfo.get(); }
    int CdTextTrackCount() const { return cdTextTrackCount; }

    // The encoder pipeline of the conversion thread, with the events its workers share.
    PipelineDriver& Driver() { return driver; }

    CRITICAL_SECTION lock;
    volatile LONG finishingTrack = 0;
    std::string lastSessionFolder;
    std::string discLabel;
    std::string sessionOutputFolder;

private:
    static unsigned __stdcall ConversionThreadProc(void* owner);
    void RequestStop();
    void RunConversionLoop();
    std::unique_ptr<IntakeEnvironment> environment;
    TrackQueue queue;
    PipelineDriver driver;
    volatile LONG stopRequested = 0;
    CWorkerThread thread;
    std::unique_ptr<DiscTrackInfo[]> trackInfo;
    int cdTextTrackCount = 0;
    IPlayerLookup* lookup = &ITunesLookup();
};

// The program's one intake.
CaptureIntake& GetCaptureIntake();
