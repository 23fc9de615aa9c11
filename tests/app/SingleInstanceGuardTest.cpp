#include "app/SingleInstanceGuard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace {

// A name no running copy of the program and no other test uses.
std::string UniqueName() {
    static int counter = 0;
    return "QvlTestGuard-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

// A message-only window that remembers the last WM_COPYDATA it received; it needs no display.
class MessageWindow {
public:
    MessageWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClass;
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    }
    ~MessageWindow() { DestroyWindow(m_window); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND Get() const { return m_window; }

    static inline std::string s_text;
    static inline ULONG_PTR s_tag = 0;

private:
    static constexpr char kClass[] = "QvlTestMessageWindow";

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            s_text.assign(static_cast<const char*>(data->lpData), data->cbData);
            s_tag = data->dwData;
            return TRUE;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
};

} // namespace

TEST(SingleInstanceGuard, FirstCopyOwnsTheBlockAndALaterCopyFindsItsWindow) {
    std::string name = UniqueName();
    auto first = std::make_unique<SingleInstanceGuard>(name.c_str());
    EXPECT_EQ(first->PreviousInstanceExists(), 0);
    first->LockStartup();
    EXPECT_TRUE(first->HoldsStartupLock());
    ASSERT_EQ(first->CreateBlock(), 1);
    EXPECT_FALSE(first->HoldsStartupLock()) << "creating the block ends the start-up step";

    SingleInstanceGuard later(name.c_str());
    EXPECT_EQ(later.PreviousInstanceExists(), 1);
    EXPECT_EQ(later.CreateBlock(), 0);
    EXPECT_EQ(later.ActivatePrevious(nullptr, 0), nullptr) << "no window published yet";

    MessageWindow window;
    ASSERT_TRUE(IsWindow(window.Get()));
    first->PublishMainWindow(window.Get());
    EXPECT_EQ(later.ActivatePrevious(nullptr, 0), window.Get());
    std::string cue = "C:\\Music\\a.cue";
    EXPECT_EQ(later.ActivatePrevious(cue.c_str(), 7), window.Get());
    EXPECT_EQ(MessageWindow::s_text, cue + '\0') << "sent with its terminator";
    EXPECT_EQ(MessageWindow::s_tag, 7u);

    first.reset();
    EXPECT_EQ(later.PreviousInstanceExists(), 0) << "the block goes with the copy that made it";
    SingleInstanceGuard next(name.c_str());
    EXPECT_EQ(next.PreviousInstanceExists(), 0);
}

TEST(SingleInstanceGuard, AStartupLockMakesAnotherCopyWaitUntilTheBlockExists) {
    std::string name = UniqueName();
    auto first = std::make_unique<SingleInstanceGuard>(name.c_str());
    first->LockStartup();

    HANDLE locked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> previousSeen{-1};
    std::thread other([&] {
        SingleInstanceGuard guard(name.c_str());
        guard.LockStartup();
        previousSeen = guard.PreviousInstanceExists();
        SetEvent(locked);
    });

    EXPECT_EQ(WaitForSingleObject(locked, 300), static_cast<DWORD>(WAIT_TIMEOUT)) << "got in while locked";
    EXPECT_EQ(first->CreateBlock(), 1);
    EXPECT_EQ(WaitForSingleObject(locked, 5000), static_cast<DWORD>(WAIT_OBJECT_0)) << "still waiting";
    EXPECT_EQ(previousSeen, 1) << "the block exists once the lock is free";

    // Frees the lock should CreateBlock not have, so that the thread can end.
    first.reset();
    other.join();
    CloseHandle(locked);
}
