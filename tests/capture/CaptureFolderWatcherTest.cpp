#include "app/Messages.h"
#include "capture/CaptureFolderWatcher.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

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

WatchedFolder RecordFor(const std::string& folder) {
    WatchedFolder record{};
    lstrcpynA(record.path, folder.c_str(), MAX_PATH);
    return record;
}

} // namespace

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
