#include "capture/CaptureFolderWatcher.h"

#include "app/Messages.h"
#include "app/framework/Scoped.h"

#include <process.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kNotifyFilter =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE; // 0x13

bool SortsBefore(const std::string& left, const std::string& right) {
    return _stricmp(left.c_str(), right.c_str()) < 0;
}

} // namespace

CaptureFolderWatcher::CaptureFolderWatcher() {
    std::memset(m_watched, 0, sizeof m_watched);
    m_lastPostedPath[0] = '\0';
}

CaptureFolderWatcher::~CaptureFolderWatcher() {
    if (m_threadHandle != nullptr) {
        CloseHandle(m_threadHandle);
    }
    m_folderList.clear();
}

void CaptureFolderWatcher::AddFolder(const std::string& folder) {
    if (m_folderList.size() < kMaxFolders) {
        m_folderList.push_back(folder);
    }
}

int CaptureFolderWatcher::StartWatching() {
    m_activeCount = static_cast<unsigned>(m_folderList.size());
    for (unsigned i = 0; i < m_activeCount; ++i) {
        WatchedFolder& record = m_watched[i];
        const std::string& folder = m_folderList[i];
        CreateDirectoryA(folder.c_str(), nullptr);
        record.directoryHandle = CreateFileA(
            folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (record.directoryHandle == INVALID_HANDLE_VALUE) {
            record.directoryHandle = nullptr;
            m_activeCount = i;
            return 1;
        }
        lstrcpynA(record.path, folder.c_str(), MAX_PATH);
        size_t length = strlen(record.path);
        if (length > 0 && record.path[length - 1] == '\\') {
            record.path[length - 1] = '\0';
        }
        m_completionPort = CreateIoCompletionPort(record.directoryHandle, m_completionPort,
                                                  reinterpret_cast<ULONG_PTR>(&record), 0);
    }
    for (unsigned i = 0; i < m_activeCount; ++i) {
        if (!StartRead(m_watched[i])) {
            return 0;
        }
    }
    m_threadHandle =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WatcherThreadProc, this, 0, nullptr));
    return 0;
}

bool CaptureFolderWatcher::StartRead(WatchedFolder& record) {
    return ReadDirectoryChangesW(record.directoryHandle, record.notifications, sizeof record.notifications,
                                 TRUE, kNotifyFilter, &record.bytesTransferred, &record.overlapped,
                                 nullptr) != 0;
}

int CaptureFolderWatcher::StopWatching() {
    if (m_completionPort != nullptr) {
        PostQueuedCompletionStatus(m_completionPort, 0, 0, nullptr);
    }
    if (m_threadHandle != nullptr) {
        WaitForSingleObject(m_threadHandle, INFINITE);
        CloseHandle(m_threadHandle);
        m_threadHandle = nullptr;
    }
    for (unsigned i = 0; i < m_activeCount; ++i) {
        WatchedFolder& record = m_watched[i];
        if (record.directoryHandle != nullptr) {
            // The pending read writes into this record: let its cancellation finish before the
            // handle and the port go.
            CancelIoEx(record.directoryHandle, &record.overlapped);
            DWORD ignored = 0;
            GetOverlappedResult(record.directoryHandle, &record.overlapped, &ignored, TRUE);
            CloseHandle(record.directoryHandle);
            record.directoryHandle = nullptr;
        }
    }
    if (m_completionPort != nullptr) {
        CloseHandle(m_completionPort);
        m_completionPort = nullptr;
    }
    return 0;
}

unsigned __stdcall CaptureFolderWatcher::WatcherThreadProc(void* parameter) {
    auto* watcher = static_cast<CaptureFolderWatcher*>(parameter);
    for (;;) {
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* overlapped = nullptr;
        BOOL ok = GetQueuedCompletionStatus(watcher->m_completionPort, &bytes, &key, &overlapped, INFINITE);
        if (key == 0 || (!ok && overlapped == nullptr)) {
            break;
        }
        auto* record = reinterpret_cast<WatchedFolder*>(key);
        if (ok) {
            watcher->HandleCompletion(*record, bytes);
        }
        watcher->StartRead(*record);
    }
    return 0;
}

void CaptureFolderWatcher::HandleCompletion(const WatchedFolder& record, DWORD bytes) {
    if (bytes == 0) {
        // The system dropped change records (too many changes at once for the buffer). What the
        // intake cannot do without is the newest burn and its WAV files, so they are reported
        // again; everything it already holds is ignored there.
        ReportNewestSession(record);
        return;
    }
    DWORD offset = 0;
    for (;;) {
        const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(record.notifications + offset);
        OnFolderNotification(record, *change);
        if (change->NextEntryOffset == 0) {
            break;
        }
        offset += change->NextEntryOffset;
        if (offset >= bytes) {
            break;
        }
    }
}

void CaptureFolderWatcher::OnFolderNotification(const WatchedFolder& record,
                                                const FILE_NOTIFY_INFORMATION& change) {
    if (change.Action != FILE_ACTION_ADDED && change.Action != FILE_ACTION_MODIFIED) {
        return;
    }
    WCHAR wide[MAX_PATH] = {};
    size_t characters = std::min<size_t>(change.FileNameLength / sizeof(WCHAR), MAX_PATH - 1);
    std::memcpy(wide, change.FileName, characters * sizeof(WCHAR));
    char name[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, name, MAX_PATH, nullptr, nullptr);
    std::string path = std::string(record.path) + "\\" + name;
    if (path.size() >= MAX_PATH) {
        // A cut path would name another file: better not reported at all.
        return;
    }
    if (_stricmp(path.c_str(), m_lastPostedPath) != 0) {
        lstrcpynA(m_lastPostedPath, path.c_str(), MAX_PATH);
        Post(change.Action, path);
        m_repeatCount = 0;
    } else {
        ++m_repeatCount;
        if (m_repeatCount % kRepeatInterval == 0) {
            Post(change.Action, path);
        }
    }
}

void CaptureFolderWatcher::ReportNewestSession(const WatchedFolder& record) {
    std::string root = record.path;
    std::string newest;
    WIN32_FIND_DATAA entry;
    ScopedFindHandle folders(FindFirstFileA((root + "\\*").c_str(), &entry));
    if (!folders) {
        return;
    }
    do {
        std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != "." && name != ".." &&
            (newest.empty() || SortsBefore(newest, name))) {
            newest = name;
        }
    } while (FindNextFileA(folders.Get(), &entry));
    if (newest.empty()) {
        return;
    }
    std::string session = root + "\\" + newest;
    std::vector<std::string> wavs;
    ScopedFindHandle files(FindFirstFileA((session + "\\*.wav").c_str(), &entry));
    if (files) {
        do {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                wavs.push_back(session + "\\" + entry.cFileName);
            }
        } while (FindNextFileA(files.Get(), &entry));
    }
    std::sort(wavs.begin(), wavs.end(), SortsBefore);
    Post(FILE_ACTION_ADDED, session);
    for (const std::string& wav : wavs) {
        Post(FILE_ACTION_MODIFIED, wav);
    }
    if (!wavs.empty()) {
        lstrcpynA(m_lastPostedPath, wavs.back().c_str(), MAX_PATH);
        m_repeatCount = 0;
    }
}

void CaptureFolderWatcher::Post(DWORD action, const std::string& path) {
    if (path.size() >= kCapturePathSize) {
        return;
    }
    char* buffer = new char[kCapturePathSize];
    lstrcpynA(buffer, path.c_str(), kCapturePathSize);
    if (!PostMessageA(m_notifyWindow, WM_CAPTURE_EVENT, action, reinterpret_cast<LPARAM>(buffer))) {
        // Nobody will ever free it otherwise.
        delete[] buffer;
    }
}
