#include "app/Messages.h"
#include "capture/CaptureFolderWatcher.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

using namespace qvltest;

namespace {

using Event = std::pair<WPARAM, std::string>;

// A message-only window standing in for the manager window: it collects the capture events.
class EventSink {
public:
    EventSink() {
        m_window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure));
    }
    ~EventSink() {
        Pump();
        DestroyWindow(m_window);
    }
    EventSink(const EventSink&) = delete;
    EventSink& operator=(const EventSink&) = delete;

    HWND Window() const { return m_window; }
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }
    bool WaitForEvent(const Event& wanted, DWORD timeoutMs) {
        return WaitFor(
            [&] {
                Pump();
                for (const Event& event : events) {
                    if (event.first == wanted.first &&
                        _stricmp(event.second.c_str(), wanted.second.c_str()) == 0) {
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
    }

    std::vector<Event> events;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CAPTURE_EVENT) {
            auto* sink = reinterpret_cast<EventSink*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            char* path = reinterpret_cast<char*>(lParam);
            sink->events.emplace_back(wParam, path);
            delete[] path;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND m_window;
};

// A change record as the system lays it out.
class Change {
public:
    Change(DWORD action, const std::wstring& name) {
        m_bytes.resize(sizeof(FILE_NOTIFY_INFORMATION) + name.size() * sizeof(WCHAR));
        auto* record = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(m_bytes.data());
        record->NextEntryOffset = 0;
        record->Action = action;
        record->FileNameLength = static_cast<DWORD>(name.size() * sizeof(WCHAR));
        std::memcpy(record->FileName, name.data(), record->FileNameLength);
    }
    const FILE_NOTIFY_INFORMATION& Get() const {
        return *reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(m_bytes.data());
    }

private:
    std::vector<BYTE> m_bytes;
};

WatchedFolder RecordFor(const std::string& folder) {
    WatchedFolder record{};
    lstrcpynA(record.path, folder.c_str(), MAX_PATH);
    return record;
}

} // namespace

TEST(CaptureFolderWatcher, PassesTheFirstReportAndEveryTwelfthRepeat) {
    EventSink sink;
    CaptureFolderWatcher watcher;
    watcher.SetNotifyWindow(sink.Window());
    WatchedFolder record = RecordFor("C:\\Capture");
    watcher.OnFolderNotification(record, Change(FILE_ACTION_ADDED, L"Burn1").Get());
    watcher.OnFolderNotification(record, Change(FILE_ACTION_ADDED, L"Burn1\\Track00.wav").Get());
    for (int i = 0; i < 30; ++i) {
        watcher.OnFolderNotification(record, Change(FILE_ACTION_MODIFIED, L"Burn1\\TRACK00.WAV").Get());
    }
    sink.Pump();
    std::vector<Event> expected = {{1, "C:\\Capture\\Burn1"},
                                   {1, "C:\\Capture\\Burn1\\Track00.wav"},
                                   {3, "C:\\Capture\\Burn1\\TRACK00.WAV"},
                                   {3, "C:\\Capture\\Burn1\\TRACK00.WAV"}};
    EXPECT_EQ(sink.events, expected) << "repeats 12 and 24 of 30";
}

TEST(CaptureFolderWatcher, AlternatingPathsAreAllPostedAndRemovalsAndRenamesNever) {
    EventSink sink;
    CaptureFolderWatcher watcher;
    watcher.SetNotifyWindow(sink.Window());
    WatchedFolder record = RecordFor("C:\\Capture");
    for (int i = 0; i < 13; ++i) {
        watcher.OnFolderNotification(record, Change(FILE_ACTION_MODIFIED, i % 2 ? L"b.wav" : L"a.wav").Get());
    }
    for (DWORD action : {FILE_ACTION_REMOVED, FILE_ACTION_RENAMED_OLD_NAME, FILE_ACTION_RENAMED_NEW_NAME}) {
        watcher.OnFolderNotification(record, Change(action, L"c.wav").Get());
    }
    watcher.OnFolderNotification(record, Change(FILE_ACTION_ADDED, std::wstring(300, L'x')).Get());
    sink.Pump();
    EXPECT_EQ(sink.events.size(), 13u);
}

TEST(CaptureFolderWatcher, ReportsRealChangesBelowTheFolderAndStopsAtOnce) {
    TestFolder root;
    std::string capture = root / "capture";
    EventSink sink;
    CaptureFolderWatcher watcher;
    watcher.SetNotifyWindow(sink.Window());
    watcher.AddFolder(capture);
    ASSERT_EQ(watcher.StartWatching(), 0) << "a missing capture folder is created";
    CreateDirectoryA((capture + "\\Burn1").c_str(), nullptr);
    EXPECT_TRUE(sink.WaitForEvent({1, capture + "\\Burn1"}, 5000));
    WriteFile(capture + "\\Burn1\\Track00.wav", "RIFF");
    EXPECT_TRUE(sink.WaitForEvent({1, capture + "\\Burn1\\Track00.wav"}, 5000));
    DWORD start = GetTickCount();
    EXPECT_EQ(watcher.StopWatching(), 0);
    EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST(CaptureFolderWatcher, AFolderThatCannotBeOpenedIsReported) {
    TestFolder root;
    CaptureFolderWatcher watcher;
    watcher.AddFolder(root / "missing\\capture"); // only one level is created
    EXPECT_EQ(watcher.StartWatching(), 1);
    EXPECT_EQ(watcher.StopWatching(), 0);
}

TEST(CaptureFolderWatcher, LostChangeRecordsReportTheNewestBurnAgain) {
    TestFolder root;
    for (const char* name : {"Burn1", "Burn2"}) {
        CreateDirectoryA((root / name).c_str(), nullptr);
    }
    for (const char* name : {"Track01.wav", "Track00.wav", "leadin.dat"}) {
        WriteFile(root / (std::string("Burn2\\") + name), "x");
    }
    WriteFile(root / "Burn1\\Track00.wav", "x");
    EventSink sink;
    CaptureFolderWatcher watcher;
    watcher.SetNotifyWindow(sink.Window());
    WatchedFolder record = RecordFor(root.Path());
    watcher.HandleCompletion(record, 0);
    sink.Pump();
    std::vector<Event> expected = {
        {1, root / "Burn2"}, {3, root / "Burn2\\Track00.wav"}, {3, root / "Burn2\\Track01.wav"}};
    EXPECT_EQ(sink.events, expected);
}
