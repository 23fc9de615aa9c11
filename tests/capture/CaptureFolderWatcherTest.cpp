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
