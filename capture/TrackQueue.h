// The track file queue of the capture intake: when a captured WAV is complete.
//   1. a track is complete when a newer WAV is reported in the same burn folder;
//   2. the last track of the highest burn is complete when a burn folder not yet held appears;
//   3. ... or as soon as the cue sheet proves it complete and its writer has let go of it;
//   4. ... or when no file event has come for five seconds, unless its writer is visibly still
//      in the middle of it.
// The file events come on the user-interface thread; the conversion thread takes the queue.
#pragma once

#include "capture/IntakeEnvironment.h"

#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

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

class TrackQueue {
public:
    // The lock is the intake's own: the queue and the finished list are shared with the
    // conversion thread under it.
    TrackQueue(const IntakeEnvironment& environment, CRITICAL_SECTION& lock);

    // Only direct sub-folders of this folder are burns; without one, every folder is.
    void SetCaptureFolder(const std::string& folder);
    const std::string& CaptureFolder() const { return captureFolder; }
    int OnCaptureFileEvent(const char* path);
    BurnSession* FindOrAddSession(const char* folder);
    int QueueTrack(const char* path);
    std::string TakeNextTrack(); // conversion thread
    // The conversion thread is done with the track it took last: its folder may go.
    void TrackDone();
    int IsTrackFinished(const char* path);
    int MarkTrackFinished(const char* path); // conversion thread
    std::string LastFinishedTrack();
    void CheckIdleSession(int* queued);
    int PendingTrackCount();
    // Less than the idle time since the last file event.
    bool RecentlyActive() const;
    // 1 while a conversion is going on: tracks wait, one is being converted, or a burn wrote a
    // moment ago. The windows leave the catalogue alone meanwhile.
    int IsBusy();
    const std::vector<std::unique_ptr<BurnSession>>& Sessions() const { return sessions; }
    static int TrackNumberFromFileName(const char* path);
    static std::string SessionNameFromPath(const char* path);

private:
    DWORD Now() const { return environment.TickCount(); }
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

    const IntakeEnvironment& environment;
    CRITICAL_SECTION& lock;
    std::string captureFolder;
    std::vector<std::unique_ptr<BurnSession>> sessions;
    std::deque<std::string> pendingTracks;
    std::vector<std::string> finishedTracks;
    std::string lastQueuedPath;
    DWORD lastEventTime;
    // The capture folder has reported something since start.
    bool eventSeen = false;
    // The track the conversion thread works on, under lock; empty between tracks.
    std::string convertingPath;
    std::vector<std::string> deferredFolders;
};
