#include "app/SingleInstanceGuard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace {

// A name no running copy of the program and no other test uses. That a second copy finds the
// first and brings its window forward is seen in LifecycleTest.
std::string UniqueName() {
    static int counter = 0;
    return "QvlTestGuard-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

} // namespace

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
