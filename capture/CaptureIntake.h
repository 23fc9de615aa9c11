// The capture intake: decides from the file events below the capture folder when a captured
// track is complete, queues it, and converts the queue on a worker thread one track at a time.
#pragma once

#include "app/framework/WorkerThread.h"
#include "capture/DiscTrackInfo.h"
#include "capture/IntakeEnvironment.h"
#include "capture/PlayerLookup.h"
#include "capture/TrackTags.h"

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

class CaptureIntake;
class PipelineEncoder;

// Completes the per-track table of a burn from the running music player.
class IPlayerLookup {
public:
    virtual int LookupByCdText(CaptureIntake& intake) = 0;
    virtual int LookupByCueSheet(CaptureIntake& intake, const std::string& cueSheetPath) = 0;

protected:
    ~IPlayerLookup() = default;
};

struct BurnSession {
    std::string folder;
    std::vector<std::string> wavPaths;
    // The byte length of each track's WAV by the burn's cue sheet, read once it is there.
    std::vector<uint64_t> cueTrackBytes;
};

inline constexpr char kSessionEndMarker[] = "DiscTrackFinish";
inline constexpr DWORD kBurnIdleTime = 5000;
// How long a writer may hold a part-written track without a file event before the idle rule
// takes what it has: a recorder stalled this long is taken for dead.
inline constexpr DWORD kStalledWriterTime = 60000;
inline constexpr size_t kFinishedTracksKept = 32;

// Milliseconds from then to now on the 32-bit tick counter, across one wrap-around.
DWORD ElapsedTicks(DWORD then, DWORD now);

class CaptureIntake {
public:
    explicit CaptureIntake(
        std::unique_ptr<IntakeEnvironment> environment = std::make_unique<IntakeEnvironment>());
    ~CaptureIntake();
    CaptureIntake(const CaptureIntake&) = delete;
    CaptureIntake& operator=(const CaptureIntake&) = delete;

    // Track file queue (user-interface thread unless noted).
    // Only direct sub-folders of this folder are burns; without one, every folder is.
    void SetCaptureFolder(const std::string& folder);
    int OnCaptureFileEvent(const char* path);
    BurnSession* FindOrAddSession(const char* folder);
    int QueueTrack(const char* path);
    std::string TakeNextTrack(); // conversion thread
    int IsTrackFinished(const char* path);
    int MarkTrackFinished(const char* path); // conversion thread
    std::string LastFinishedTrack();
    void CheckIdleSession(int* queued);
    int PendingTrackCount();
    int IsBusy();
    static int TrackNumberFromFileName(const char* path);
    static std::string SessionNameFromPath(const char* path);

    // Conversion thread.
    int StartConversionThread();
    // Stops the thread wherever it is (a running encode is aborted) and waits for it and its
    // workers while dispatching this thread's messages. Idempotent.
    void StopConversionThread();
    // True once a stop was asked for; long steps on the conversion thread ask between calls.
    bool StopRequested();
    void SetNotifyWindow(HWND window) { notifyWindow = window; }
    void ClearTrackInfo();
    int GetTrackTags(TrackTags& tags, int n);

    // Pipeline drivers (conversion thread): 1 when both workers ran to their end, 0 when the
    // conversion did not start. complete, when given, tells whether the output file was written
    // whole: every byte of the track encoded and written, tags included, no abort.
    int EncodeTrackToMp3(const std::string& sourcePath, const std::string& outputPath,
                         bool* complete = nullptr);
    int EncodeTrackToWav(const std::string& sourcePath, const std::string& outputPath,
                         bool* complete = nullptr);

    // Track finish (conversion thread): names the output file from the filename format, encodes
    // the captured WAV into it and deletes the WAV, whatever the encoder's result. 0 when the path
    // is no captured track (nothing done), otherwise the encoder driver's result.
    int ConvertCapturedTrack(const char* wavPath);
    // Before the capture folder is wiped (start and exit, the conversion thread stopped): every
    // captured WAV that was not converted goes into the output folder under its output name.
    void KeepUnconvertedTracks();

    // Where burn preparations ask the music player; null for nowhere.
    void SetPlayerLookup(IPlayerLookup* playerLookup) { lookup = playerLookup; }
    // A new burn session (conversion thread): the table cleared, then filled from the folder's
    // lead-in and completed from the music player.
    void PrepareSession(const std::string& folder);

    const std::vector<std::unique_ptr<BurnSession>>& Sessions() const { return sessions; }
    const DiscTrackInfo* TrackInfo() const { return trackInfo.get(); }
    DiscTrackInfo* TrackInfo() { return trackInfo.get(); }
    int CdTextTrackCount() const { return cdTextTrackCount; }

    CRITICAL_SECTION lock;
    HANDLE abortEvent = nullptr;
    HANDLE workerDoneEvents[2] = {nullptr, nullptr};
    HWND notifyWindow = nullptr;
    volatile LONG finishingTrack = 0;
    std::string lastSessionFolder;
    std::string discLabel;
    std::string sessionOutputFolder;

private:
    static unsigned __stdcall ConversionThreadProc(void* owner);
    void RequestStop();
    // The feeder's and the encoder's exit codes come back through feederDone and encoderDone
    // (their "done" codes when the track was converted whole).
    int RunPipeline(PipelineEncoder& encoder, const std::string& sourcePath, const std::string& outputPath,
                    bool* complete);
    void RunConversionLoop();
    DWORD Now() const { return environment->TickCount(); }
    enum class CaptureState { kUnknown, kComplete, kBeingWritten };
    // What the cue sheet and the file say of a captured WAV; whether a writer still holds it is
    // asked only when the answer can change the outcome (idle: the idle rule is due).
    CaptureState CapturedTrackState(BurnSession& session, const std::string& wavPath, bool idle);
    // A pruned burn folder is deleted only once none of its tracks waits or is being converted.
    void DeleteSessionFolderWhenIdle(const std::string& folder);
    void QueueLeftoverTracks(const std::string& folder);
    bool IsBurnFolder(const std::string& folder) const;
    void TakeMissedFiles();
    void DeleteDeferredFolders();
    bool HasWorkIn(const std::string& folder);

    std::unique_ptr<IntakeEnvironment> environment;
    std::string captureFolder;
    std::vector<std::unique_ptr<BurnSession>> sessions;
    std::deque<std::string> pendingTracks;
    std::vector<std::string> finishedTracks;
    std::string lastQueuedPath;
    DWORD lastEventTime;
    volatile LONG stopRequested = 0;
    CWorkerThread thread;
    std::unique_ptr<DiscTrackInfo[]> trackInfo;
    int cdTextTrackCount = 0;
    // The track the conversion thread works on, under lock; empty between tracks.
    std::string convertingPath;
    std::vector<std::string> deferredFolders;
    IPlayerLookup* lookup = &ITunesLookup();
};

// The program's one intake.
CaptureIntake& GetCaptureIntake();
