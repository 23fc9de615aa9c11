#include "capture/TrackQueue.h"

#include "app/framework/Scoped.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kWavExtension[] = ".WAV";
constexpr size_t kSessionsKept = 2;
// One CD frame (sector) of 16-bit stereo audio.
constexpr uint64_t kCdFrameBytes = 2352;

bool SameText(const std::string& left, const char* right) {
    return _stricmp(left.c_str(), right) == 0;
}

bool HasWavExtension(const char* path) {
    size_t length = strlen(path);
    return length >= 4 && _stricmp(path + length - 4, kWavExtension) == 0;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

TrackQueue::TrackQueue(const IntakeEnvironment& intakeEnvironment, CRITICAL_SECTION& intakeLock)
    : environment(intakeEnvironment), lock(intakeLock), lastEventTime(intakeEnvironment.TickCount()) {}

void TrackQueue::TrackDone() {
    ScopedLock hold(lock);
    convertingPath.clear();
}

DWORD ElapsedTicks(DWORD then, DWORD now) {
    return now >= then ? now - then : 0xFFFFFFFF - then + now;
}

int TrackQueue::OnCaptureFileEvent(const char* path) {
    lastEventTime = Now();
    eventSeen = true;
    if (path == nullptr) {
        return 0;
    }
    DWORD attributes = environment.FileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    if (attributes == FILE_ATTRIBUTE_DIRECTORY) {
        return IsBurnFolder(path) && FindOrAddSession(path) != nullptr ? 1 : 0;
    }
    std::string folder = FolderOf(path);
    if (!HasWavExtension(path) || IsTrackFinished(path) != 0 || !IsBurnFolder(folder)) {
        lastEventTime = Now();
        return 0;
    }
    lastEventTime = Now();
    BurnSession* session = FindOrAddSession(folder.c_str());
    if (session != nullptr) {
        lastEventTime = Now();
        if (session->wavPaths.empty()) {
            session->wavPaths.push_back(path);
        } else {
            bool known =
                std::any_of(session->wavPaths.begin(), session->wavPaths.end(), [&](const std::string& wav) {
                    lastEventTime = Now();
                    return SameText(wav, path);
                });
            if (!known) {
                std::string previous = session->wavPaths.back();
                session->wavPaths.push_back(path);
                QueueTrack(previous.c_str());
            }
        }
    }
    lastEventTime = Now();
    return 1;
}

BurnSession* TrackQueue::FindOrAddSession(const char* folder) {
    if (folder == nullptr) {
        return nullptr;
    }
    if (sessions.empty()) {
        sessions.push_back(std::make_unique<BurnSession>(BurnSession{folder, {}, {}}));
        lastEventTime = Now();
        return sessions.back().get();
    }
    while (sessions.size() > kSessionsKept) {
        std::unique_ptr<BurnSession> oldest = std::move(sessions.front());
        sessions.erase(sessions.begin());
        if (!oldest->folder.empty()) {
            DeleteSessionFolderWhenIdle(oldest->folder);
        }
    }
    DeleteDeferredFolders();
    auto insertAt = sessions.end();
    for (auto it = sessions.begin(); it != sessions.end(); ++it) {
        int order = _stricmp((*it)->folder.c_str(), folder);
        if (order == 0) {
            lastEventTime = Now();
            return it->get();
        }
        if (order > 0) {
            insertAt = it;
            break;
        }
    }
    const BurnSession& highest = *sessions.back();
    if (!highest.wavPaths.empty() && !highest.wavPaths.back().empty()) {
        QueueTrack(highest.wavPaths.back().c_str());
    }
    BurnSession* added =
        sessions.insert(insertAt, std::make_unique<BurnSession>(BurnSession{folder, {}, {}}))->get();
    lastEventTime = Now();
    return added;
}

int TrackQueue::QueueTrack(const char* path) {
    if (path == nullptr) {
        return 0;
    }
    if (SameText(lastQueuedPath, path)) {
        return 1;
    }
    lastQueuedPath = path;
    if (HasWavExtension(path) && IsTrackFinished(path) == 0) {
        ScopedLock hold(lock);
        pendingTracks.push_back(path);
    }
    return 1;
}

std::string TrackQueue::TakeNextTrack() {
    ScopedLock hold(lock);
    if (pendingTracks.empty()) {
        return {};
    }
    std::string next = std::move(pendingTracks.front());
    pendingTracks.pop_front();
    // From here until the finishing step returns, the track's folder is in use.
    convertingPath = next;
    return next;
}

int TrackQueue::IsTrackFinished(const char* path) {
    if (path == nullptr) {
        return 1;
    }
    ScopedLock hold(lock);
    if (finishedTracks.size() > kFinishedTracksKept) {
        finishedTracks.erase(finishedTracks.begin(), finishedTracks.end() - kFinishedTracksKept);
    }
    return std::any_of(finishedTracks.rbegin(), finishedTracks.rend(),
                       [path](const std::string& finished) { return SameText(finished, path); })
               ? 1
               : 0;
}

int TrackQueue::MarkTrackFinished(const char* path) {
    if (path == nullptr) {
        return 0;
    }
    if (!SameText(LastFinishedTrack(), path)) {
        ScopedLock hold(lock);
        finishedTracks.push_back(path);
    }
    return 1;
}

std::string TrackQueue::LastFinishedTrack() {
    ScopedLock hold(lock);
    return finishedTracks.empty() ? std::string() : finishedTracks.back();
}

void TrackQueue::CheckIdleSession(int* queued) {
    *queued = 0;
    DeleteDeferredFolders();
    TakeMissedFiles();
    if (sessions.empty()) {
        return;
    }
    BurnSession& highest = *sessions.back();
    if (highest.wavPaths.empty()) {
        return;
    }
    std::string last = highest.wavPaths.back();
    if (SameText(last, kSessionEndMarker)) {
        return;
    }
    DWORD idle = ElapsedTicks(lastEventTime, Now());
    CaptureState state = CapturedTrackState(highest, last, idle >= kBurnIdleTime);
    bool paused = state == CaptureState::kBeingWritten && idle < kStalledWriterTime;
    if (state == CaptureState::kComplete || (idle >= kBurnIdleTime && !paused)) {
        *queued = 1;
        QueueTrack(last.c_str());
        highest.wavPaths.push_back(kSessionEndMarker);
    }
}

TrackQueue::CaptureState TrackQueue::CapturedTrackState(BurnSession& session, const std::string& wavPath,
                                                        bool idle) {
    if (session.cueTrackBytes.empty()) {
        std::vector<CueTrackTime> times(kMaxCueTracks);
        int count = environment.ReadCueSheet(session.folder, times.data());
        for (int track = 0; track < count; ++track) {
            session.cueTrackBytes.push_back(uint64_t{times[track].length} * kCdFrameBytes);
        }
    }
    int track = TrackNumberFromFileName(wavPath.c_str()) + 1;
    if (track < 1 || track > static_cast<int>(session.cueTrackBytes.size())) {
        return CaptureState::kUnknown;
    }
    uint64_t expected = session.cueTrackBytes[track - 1];
    uint64_t present = environment.WavDataBytes(wavPath);
    // Only the last track waits for the idle rule; an earlier one is finished by the next WAV.
    bool last = track == static_cast<int>(session.cueTrackBytes.size());
    if (present == expected && last && !environment.HeldByWriter(wavPath)) {
        return CaptureState::kComplete;
    }
    if (present < expected && idle && environment.HeldByWriter(wavPath)) {
        return CaptureState::kBeingWritten;
    }
    return CaptureState::kUnknown;
}

bool TrackQueue::RecentlyActive() const {
    return ElapsedTicks(lastEventTime, Now()) < kBurnIdleTime;
}

int TrackQueue::IsBusy() {
    ScopedLock hold(lock);
    return !pendingTracks.empty() || !convertingPath.empty() || (eventSeen && RecentlyActive()) ? 1 : 0;
}

int TrackQueue::PendingTrackCount() {
    ScopedLock hold(lock);
    return static_cast<int>(pendingTracks.size());
}

int TrackQueue::TrackNumberFromFileName(const char* path) {
    const char* slash = path != nullptr ? strrchr(path, '\\') : nullptr;
    if (slash == nullptr) {
        return -1;
    }
    const char* digit = strpbrk(slash + 1, "0123456789");
    if (digit == nullptr) {
        return -1;
    }
    // Names carry two digits here; the second is taken as it stands.
    return 10 * (digit[0] - '0') + (digit[1] - '0');
}

std::string TrackQueue::SessionNameFromPath(const char* path) {
    std::string folder = FolderOf(path != nullptr ? path : "");
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(slash + 1);
}

bool TrackQueue::IsBurnFolder(const std::string& folder) const {
    return captureFolder.empty() || SameText(FolderOf(folder), captureFolder.c_str());
}

void TrackQueue::SetCaptureFolder(const std::string& folder) {
    captureFolder = folder;
    while (captureFolder.size() > 3 && captureFolder.back() == '\\') {
        captureFolder.pop_back();
    }
}

// The system may drop file events (under load, or for files written right after their folder was
// created): what the newest burn holds is looked at directly, as if it had been reported.
void TrackQueue::TakeMissedFiles() {
    if (!captureFolder.empty()) {
        std::vector<std::string> burns = environment.ListFolders(captureFolder);
        if (!burns.empty() &&
            (sessions.empty() || _stricmp(burns.back().c_str(), sessions.back()->folder.c_str()) > 0)) {
            OnCaptureFileEvent(burns.back().c_str());
        }
    }
    if (sessions.empty()) {
        return;
    }
    const std::vector<std::string>& known = sessions.back()->wavPaths;
    for (const std::string& wav : environment.ListWavs(sessions.back()->folder)) {
        if (std::none_of(known.begin(), known.end(),
                         [&wav](const std::string& seen) { return SameText(seen, wav.c_str()); })) {
            OnCaptureFileEvent(wav.c_str());
        }
    }
}

// A burn folder that is pruned may hold tracks no rule ever queued (its name sorted below a later
// burn's, or its last track was waiting for the idle rule): they are converted before it goes.
void TrackQueue::QueueLeftoverTracks(const std::string& folder) {
    for (const std::string& wav : environment.ListWavs(folder)) {
        if (IsTrackFinished(wav.c_str()) != 0) {
            continue;
        }
        ScopedLock hold(lock);
        auto same = [&wav](const std::string& path) { return SameText(path, wav.c_str()); };
        if (!same(convertingPath) && std::none_of(pendingTracks.begin(), pendingTracks.end(), same)) {
            pendingTracks.push_back(wav);
        }
    }
}

void TrackQueue::DeleteSessionFolderWhenIdle(const std::string& folder) {
    QueueLeftoverTracks(folder);
    if (HasWorkIn(folder)) {
        deferredFolders.push_back(folder);
    } else {
        environment.DeleteSessionFolder(folder);
    }
}

void TrackQueue::DeleteDeferredFolders() {
    std::erase_if(deferredFolders, [this](const std::string& folder) {
        if (HasWorkIn(folder)) {
            return false;
        }
        environment.DeleteSessionFolder(folder);
        return true;
    });
}

bool TrackQueue::HasWorkIn(const std::string& folder) {
    auto inFolder = [&folder](const std::string& path) {
        return path.size() > folder.size() && path[folder.size()] == '\\' &&
               _strnicmp(path.c_str(), folder.c_str(), folder.size()) == 0;
    };
    ScopedLock hold(lock);
    return inFolder(convertingPath) || std::any_of(pendingTracks.begin(), pendingTracks.end(), inFolder);
}
