#include "capture/ConversionThread.h"

#include "app/framework/MessagePump.h"
#include "app/framework/Scoped.h"
#include "capture/IntakeEnvironment.h"
#include "capture/PipelineDriver.h"
#include "capture/TrackFinish.h"
#include "capture/TrackQueue.h"
#include "capture/TrackTable.h"

#include <objbase.h>

#include <cstring>

namespace {

constexpr DWORD kIdlePoll = 200;

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

ConversionThread::ConversionThread(CRITICAL_SECTION& lock, const IntakeEnvironment& environment,
                                   TrackQueue& queue, BurnTrackTable& table, PipelineDriver& driver,
                                   TrackFinisher& finisher)
    : m_lock(lock), m_environment(environment), m_queue(queue), m_table(table), m_driver(driver),
      m_finisher(finisher) {}

ConversionThread::~ConversionThread() {
    // Whatever way the program ends, the thread and its workers are gone before the lock, the
    // events and the table they use.
    if (m_thread.IsStarted()) {
        RequestStop();
        m_driver.WaitForWorkers(false);
        m_thread.Join();
    }
}

int ConversionThread::Start() {
    if (!m_thread.IsStarted()) {
        m_thread.Start(ThreadProc, this);
    }
    return 1;
}

void ConversionThread::RequestStop() {
    {
        ScopedLock hold(m_lock);
        m_stopRequested = true;
    }
    m_driver.Abort();
}

bool ConversionThread::StopRequested() {
    ScopedLock hold(m_lock);
    return m_stopRequested;
}

void ConversionThread::Stop() {
    RequestStop();
    // The thread checks the stop between all its steps, so the wait is short; messages keep
    // flowing meanwhile, for the encoders' reports and for any window of this thread.
    if (m_thread.IsStarted()) {
        HANDLE threadHandle = m_thread.Handle();
        WaitAllWhileDispatching(&threadHandle, 1);
        m_thread.Join();
    }
    m_driver.WaitForWorkers(true);
}

unsigned __stdcall ConversionThread::ThreadProc(void* owner) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    static_cast<ConversionThread*>(owner)->Run();
    CoUninitialize();
    return 0;
}

void ConversionThread::Run() {
    std::string previousFolder;
    while (!StopRequested()) {
        std::string path = m_queue.TakeNextTrack();
        if (path.empty()) {
            // The abort event doubles as the stop signal, so an idle thread ends at once.
            WaitForSingleObject(m_driver.abortEvent, kIdlePoll);
            continue;
        }
        if (m_queue.IsTrackFinished(path.c_str()) == 0) {
            std::string folder = FolderOf(path);
            if (_stricmp(folder.c_str(), previousFolder.c_str()) != 0) {
                previousFolder = folder;
                PrepareSession(folder);
            }
            // A stop during the preparation leaves the track unconverted in its burn folder.
            if (!StopRequested()) {
                m_queue.MarkTrackFinished(path.c_str());
                m_finisher.ConvertCapturedTrack(path.c_str());
            }
        }
        m_queue.TrackDone();
    }
}

void ConversionThread::PrepareSession(const std::string& folder) {
    m_table.Clear();
    std::string leadIn = folder + "\\leadin.dat";
    if (m_environment.FileAttributes(leadIn) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    bool parsed = m_table.LoadLeadIn(leadIn);
    if (m_lookup == nullptr) {
        return;
    }
    StopQuery stopRequested = [this] { return StopRequested(); };
    if (parsed && m_table.CdTextTrackCount() > 0) {
        m_lookup->LookupByCdText(m_table, stopRequested);
    } else {
        m_lookup->LookupByCueSheet(m_table, folder + "\\cuesheet.dat", stopRequested);
    }
}
