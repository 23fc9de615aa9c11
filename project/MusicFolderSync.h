// The rebuild of the catalogue from the music folder, without a window: a worker thread counts the
// music files below the root, then groups them by folder into discs with their tags and lengths,
// into a catalogue of its own. Whoever started it hands that catalogue over only when the scan ran
// to its end, so a cancelled scan changes nothing.
#pragma once

#include "app/framework/Scoped.h"
#include "app/framework/WorkerThread.h"
#include "project/DiscCatalogue.h"

#include <windows.h>

#include <string>

// What the worker thread is handed. The cancel event is set by the owner, the done event by the
// worker as it ends; the counts and the result are the worker's until then.
struct MusicFolderScanJob {
    std::string root;
    DiscCatalogue* result = nullptr;
    HANDLE cancel = nullptr;
    HANDLE done = nullptr;
    // Gets WM_SYNC_PROGRESS and, last, WM_SYNC_DONE; none when null.
    HWND notify = nullptr;
    unsigned total = 0;
    unsigned processed = 0;
    // The whole percent of the last progress posted: a message a file would keep the dialog's
    // thread, and the Wine server the file reads go through, busy with nothing the bar can show.
    int postedPercent = -1;
};

// The scan on the calling thread; true when it ran to its end, false (the result emptied) when the
// cancel event stopped it.
bool ScanMusicFolder(MusicFolderScanJob& job);

// The worker: the scan, then WM_SYNC_DONE and the done event. Returns 0 when it ran to its end.
unsigned __stdcall MusicFolderScanThread(void* job);

// The disc label of a folder: its path below the root with "-" for every backslash, or "Root"
// for the root itself and anything outside it.
std::string SyncDiscLabel(const std::string& folder, const std::string& root);

class CMusicFolderSync {
public:
    // The root as the settings give it; a trailing backslash makes no difference.
    explicit CMusicFolderSync(const std::string& root);
    // A scan still running is cancelled and waited for, while this thread's messages are handled.
    ~CMusicFolderSync();
    CMusicFolderSync(const CMusicFolderSync&) = delete;
    CMusicFolderSync& operator=(const CMusicFolderSync&) = delete;

    // Starts the worker, once, with the result emptied; false when it was started before or the
    // system refuses a thread.
    bool Start(HWND notify);
    void Cancel();
    bool IsCancelled() const;
    bool IsRunning() const;
    // Waits for the worker to end while this thread's messages are handled.
    void WaitWhileDispatching();

    // The discs found; empty after a cancelled scan, and meant to be read once the worker ended.
    DiscCatalogue& Result() { return m_result; }
    // Puts the discs in the place of the target's with ReplaceAll when the scan ran to its end;
    // false, the target untouched, when it was cancelled or has not ended.
    bool HandOver(DiscCatalogue& target);

private:
    DiscCatalogue m_result;
    ScopedHandle m_cancel;
    ScopedHandle m_done;
    MusicFolderScanJob m_job;
    CWorkerThread m_thread;
};
