#include "capture/CaptureIntake.h"
#include "tests/capture/FakeIntakeEnvironment.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using namespace qvltest;
using Paths = std::vector<std::string>;

namespace {

// Records what the conversion thread hands over, optionally holding each track until released.
class RecordingFinisher final : public ITrackFinisher {
public:
    int ConvertCapturedTrack(CaptureIntake& intake, const std::string& wavPath) override {
        {
            std::lock_guard<std::mutex> hold(m_mutex);
            m_handed.push_back(wavPath);
            m_finishedFirst.push_back(intake.IsTrackFinished(wavPath.c_str()) == 1);
        }
        if (m_gate != nullptr) {
            WaitForSingleObject(m_gate, INFINITE);
        }
        Sleep(m_delayMs);
        return 1;
    }
    Paths Handed() {
        std::lock_guard<std::mutex> hold(m_mutex);
        return m_handed;
    }
    std::vector<bool> FinishedFirst() {
        std::lock_guard<std::mutex> hold(m_mutex);
        return m_finishedFirst;
    }

    HANDLE m_gate = nullptr;
    DWORD m_delayMs = 0;

private:
    std::mutex m_mutex;
    Paths m_handed;
    std::vector<bool> m_finishedFirst;
};

class RecordingLookup final : public IPlayerLookup {
public:
    int LookupByCdText(CaptureIntake&) override {
        calls.push_back("cd-text");
        return 1;
    }
    int LookupByCueSheet(CaptureIntake&, const std::string& cueSheetPath) override {
        calls.push_back("cue:" + cueSheetPath);
        return 1;
    }
    std::vector<std::string> calls;
};

// A burn folder on disk with a lead-in that carries no CD-TEXT.
std::string BurnWithoutCdText(const TestFolder& root, const std::string& name) {
    std::string folder = root / name;
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFile(folder + "\\leadin.dat", std::string(96 * 4, '\x40'));
    WriteFile(folder + "\\cuesheet.dat", std::string(8, '\0'));
    return folder;
}

} // namespace

TEST(ConversionThread, HandsTracksOverInOrderOncePreparingEachBurnOnce) {
    TestFolder root;
    std::string a = BurnWithoutCdText(root, "A");
    std::string b = root / "B"; // no lead-in: no lookup at all
    CreateDirectoryA(b.c_str(), nullptr);
    CaptureIntake intake;
    RecordingFinisher finisher;
    RecordingLookup lookup;
    intake.SetTrackFinisher(&finisher);
    intake.SetPlayerLookup(&lookup);

    Paths queued = {a + "\\Track00.wav", a + "\\Track01.wav", b + "\\Track00.wav", a + "\\Track02.wav"};
    for (const std::string& path : queued) {
        intake.QueueTrack(path.c_str());
    }
    intake.QueueTrack((a + "\\Track00.wav").c_str()); // again, after another path
    intake.StartConversionThread();
    intake.StartConversionThread(); // a second start does nothing
    ASSERT_TRUE(WaitFor([&] { return finisher.Handed().size() >= 4; }, 10000));
    Sleep(300);
    intake.StopConversionThread();

    EXPECT_EQ(finisher.Handed(), queued) << "the second copy of the first track is dropped";
    EXPECT_EQ(finisher.FinishedFirst(), std::vector<bool>(4, true)) << "marked finished before the hand-over";
    // A, B, A: three preparations; only the folders with a lead-in ask the player.
    EXPECT_EQ(lookup.calls, (Paths{"cue:" + a + "\\cuesheet.dat", "cue:" + a + "\\cuesheet.dat"}));
    EXPECT_EQ(intake.PendingTrackCount(), 0);
}

TEST(ConversionThread, StoppingWhileTracksWaitEndsAfterTheTrackInHand) {
    CaptureIntake intake;
    RecordingFinisher finisher;
    finisher.m_delayMs = 300;
    intake.SetTrackFinisher(&finisher);
    for (int i = 0; i < 6; ++i) {
        intake.QueueTrack(("C:\\Capture\\Burn\\Track0" + std::to_string(i) + ".wav").c_str());
    }
    intake.StartConversionThread();
    ASSERT_TRUE(WaitFor([&] { return !finisher.Handed().empty(); }, 10000));
    DWORD start = GetTickCount();
    intake.StopConversionThread();
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_LT(finisher.Handed().size(), 6u);
    EXPECT_GT(intake.PendingTrackCount(), 0) << "waiting tracks stay queued";
    EXPECT_EQ(WaitForSingleObject(intake.abortEvent, 0), WAIT_OBJECT_0)
        << "a running encode would be told to stop";
}

TEST(ConversionThread, AnIdleThreadStopsWithinAPollingStep) {
    CaptureIntake intake;
    intake.StartConversionThread();
    Sleep(250);
    DWORD start = GetTickCount();
    intake.StopConversionThread();
    EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST(ConversionThread, StopWaitsForRunningEncoderWorkersWhileMessagesFlow) {
    CaptureIntake intake;
    ResetEvent(intake.workerDoneEvents[0]);
    ResetEvent(intake.workerDoneEvents[1]);
    // A worker that finishes only after a message of this thread has been dispatched.
    struct Context {
        CaptureIntake* intake;
        std::atomic<bool> dispatched{false};
    } context{&intake};
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&context));
    auto procedure = [](HWND target, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_APP) {
            auto* c = reinterpret_cast<Context*>(GetWindowLongPtrA(target, GWLP_USERDATA));
            c->dispatched = true;
            SetEvent(c->intake->workerDoneEvents[0]);
            SetEvent(c->intake->workerDoneEvents[1]);
            return 0;
        }
        return DefWindowProcA(target, message, wParam, lParam);
    };
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+procedure));
    PostMessageA(window, WM_APP, 0, 0);
    intake.StopConversionThread();
    EXPECT_TRUE(context.dispatched);
    DestroyWindow(window);
}

TEST(ConversionThread, APrunedBurnFolderGoesOnlyAfterItsTrackWasConverted) {
    FakeIntake q;
    RecordingFinisher finisher;
    finisher.m_gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    q.intake->SetTrackFinisher(&finisher);
    q.Folder("C:\\Capture\\Burn1");
    q.File("C:\\Capture\\Burn1\\Track00.wav");
    q.Folder("C:\\Capture\\Burn2");
    q.Folder("C:\\Capture\\Burn3");
    q.intake->StartConversionThread();
    ASSERT_TRUE(WaitFor([&] { return finisher.Handed().size() == 1; }, 10000));
    q.Folder("C:\\Capture\\Burn3"); // prunes Burn1 while its track is in hand
    EXPECT_TRUE(q.environment->deleted.empty());
    SetEvent(finisher.m_gate);
    EXPECT_TRUE(WaitFor([&] { return q.Idle() == 0 && !q.environment->deleted.empty(); }, 10000));
    EXPECT_EQ(q.environment->deleted, Paths{"C:\\Capture\\Burn1"});
    q.intake->StopConversionThread();
    CloseHandle(finisher.m_gate);
}
