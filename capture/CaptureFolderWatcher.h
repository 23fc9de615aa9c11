// Watches the capture folder and everything below it on one thread and one I/O completion port,
// and reports each added or changed path to a window as WM_CAPTURE_EVENT. While a WAV file
// grows the same path is reported many times; only the first report and every twelfth repeat
// are passed on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct WatchedFolder {
    HANDLE directoryHandle;
    char path[MAX_PATH];
    BYTE notifications[4096];
    DWORD bytesTransferred;
    OVERLAPPED overlapped;
};

class CaptureFolderWatcher {
public:
    static constexpr unsigned kMaxFolders = 10;
    static constexpr int kRepeatInterval = 12;

    CaptureFolderWatcher();
    ~CaptureFolderWatcher();
    CaptureFolderWatcher(const CaptureFolderWatcher&) = delete;
    CaptureFolderWatcher& operator=(const CaptureFolderWatcher&) = delete;

    void SetNotifyWindow(HWND window) { m_notifyWindow = window; }
    // Folders are watched in the order they were added (at most ten).
    void AddFolder(const std::string& folder);

    // 1 when a folder cannot be opened (nothing is watched then), otherwise 0.
    int StartWatching();
    int StopWatching();

    // One change record of a watched folder: added and modified paths are posted, subject to the
    // repeat rule.
    void OnFolderNotification(const WatchedFolder& record, const FILE_NOTIFY_INFORMATION& change);
    // The change records a completed read left in the record; zero bytes means the system lost
    // some.
    void HandleCompletion(const WatchedFolder& record, DWORD bytes);

private:
    static unsigned __stdcall WatcherThreadProc(void* watcher);
    bool StartRead(WatchedFolder& record);
    void ReportNewestSession(const WatchedFolder& record);
    void Post(DWORD action, const std::string& path);

    HANDLE m_threadHandle = nullptr;
    HANDLE m_completionPort = nullptr;
    HWND m_notifyWindow = nullptr;
    WatchedFolder m_watched[kMaxFolders];
    std::vector<std::string> m_folderList;
    unsigned m_activeCount = 0;
    char m_lastPostedPath[MAX_PATH];
    int m_repeatCount = 0;
};
