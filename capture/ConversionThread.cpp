// The conversion thread of the capture intake: it empties the queue one track at a time,
// prepares each burn's per-track table once, and hands every track to the finishing step.
#include "capture/CaptureIntake.h"

#include "app/framework/MessagePump.h"
#include "app/framework/Scoped.h"
#include "app/Settings.h"
#include "capture/CdText.h"

#include <objbase.h>

#include <cstring>

namespace {

constexpr DWORD kIdlePoll = 200;

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

CaptureIntake::CaptureIntake(std::unique_ptr<IntakeEnvironment> intakeEnvironment)
    : environment(std::move(intakeEnvironment)), queue(*environment, lock),
      driver(lock, [this] { return StopRequested(); }) {
    InitializeCriticalSection(&lock);
    trackInfo = std::make_unique<DiscTrackInfo[]>(kTrackInfoCount);
    cdTextTrackCount = 0;
}

CaptureIntake::~CaptureIntake() {
    // Whatever way the program ends, the thread and its workers are gone before the lock, the
    // events and the table they use.
    if (thread.IsStarted()) {
        RequestStop();
        driver.WaitForWorkers(false);
        thread.Join();
    }
    DeleteCriticalSection(&lock);
}

CaptureIntake& GetCaptureIntake() {
    static CaptureIntake intake;
    return intake;
}

int CaptureIntake::StartConversionThread() {
    if (!thread.IsStarted()) {
        thread.Start(ConversionThreadProc, this);
    }
    return 1;
}

void CaptureIntake::RequestStop() {
    {
        ScopedLock hold(lock);
        stopRequested = 1;
    }
    driver.Abort();
}

bool CaptureIntake::StopRequested() {
    ScopedLock hold(lock);
    return stopRequested != 0;
}

void CaptureIntake::StopConversionThread() {
    RequestStop();
    // The thread checks the stop between all its steps, so the wait is short; messages keep
    // flowing meanwhile, for the encoders' reports and for any window of this thread.
    if (thread.IsStarted()) {
        HANDLE threadHandle = thread.Handle();
        WaitAllWhileDispatching(&threadHandle, 1);
        thread.Join();
    }
    driver.WaitForWorkers(true);
}

void CaptureIntake::ClearTrackInfo() {
    if (trackInfo) {
        ScopedLock hold(lock);
        std::memset(trackInfo.get(), 0, sizeof(DiscTrackInfo) * kTrackInfoCount);
    }
}

int CaptureIntake::GetTrackTags(TrackTags& tags, int n) {
    return BuildTrackTags(trackInfo.get(), n, discLabel, tags);
}

int CaptureIntake::EncodeTrackToMp3(const std::string& sourcePath, const std::string& outputPath,
                                    bool* complete) {
    TrackTags tags;
    GetTrackTags(tags, TrackNumberFromFileName(sourcePath.c_str()) + 1);
    // The encoder works from a copy of the choices as they stand when the track starts.
    Mp3EncoderSettings& mp3 = GetSettings().mp3;
    return driver.EncodeToMp3(sourcePath, outputPath, {mp3.Current(), mp3.id3v1 != 0, mp3.id3v2 != 0}, tags,
                              complete);
}

int CaptureIntake::EncodeTrackToWav(const std::string& sourcePath, const std::string& outputPath,
                                    bool* complete) {
    TrackTags tags;
    GetTrackTags(tags, TrackNumberFromFileName(sourcePath.c_str()) + 1);
    return driver.EncodeToWav(sourcePath, outputPath, tags, complete);
}

unsigned __stdcall CaptureIntake::ConversionThreadProc(void* owner) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (owner == nullptr) {
        CoUninitialize();
        return 0xFFFFFFFF;
    }
    static_cast<CaptureIntake*>(owner)->RunConversionLoop();
    CoUninitialize();
    return 0;
}

void CaptureIntake::RunConversionLoop() {
    std::string previousFolder;
    while (!StopRequested()) {
        std::string path = TakeNextTrack();
        if (path.empty()) {
            // The abort event doubles as the stop signal, so an idle thread ends at once.
            WaitForSingleObject(driver.abortEvent, kIdlePoll);
            continue;
        }
        if (IsTrackFinished(path.c_str()) == 0) {
            std::string folder = FolderOf(path);
            if (_stricmp(folder.c_str(), previousFolder.c_str()) != 0) {
                previousFolder = folder;
                PrepareSession(folder);
            }
            // A stop during the preparation leaves the track unconverted in its burn folder.
            if (!StopRequested()) {
                MarkTrackFinished(path.c_str());
                ConvertCapturedTrack(path.c_str());
            }
        }
        queue.TrackDone();
    }
}

void CaptureIntake::PrepareSession(const std::string& folder) {
    ClearTrackInfo();
    std::string leadIn = folder + "\\leadin.dat";
    std::string cueSheet = folder + "\\cuesheet.dat";
    if (environment->FileAttributes(leadIn) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    int parsed = 0;
    {
        ScopedLock hold(lock);
        parsed = ParseLeadIn(leadIn.c_str(), trackInfo.get(), &cdTextTrackCount);
    }
    if (lookup == nullptr) {
        return;
    }
    if (parsed != 0 && cdTextTrackCount > 0) {
        lookup->LookupByCdText(*this);
    } else {
        lookup->LookupByCueSheet(*this, cueSheet);
    }
}
