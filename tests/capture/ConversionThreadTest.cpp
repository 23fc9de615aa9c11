#include "app/framework/Scoped.h"
#include "capture/CaptureIntake.h"
#include "tests/capture/FakeIntakeEnvironment.h"
#include "tests/support/OutputSettings.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace qvltest;
using Paths = std::vector<std::string>;

namespace {

// The MP3 encoder's error box about an output file it could not create: until it is answered,
// the track stays in hand.
constexpr char kOutputErrorBox[] = "Create MP3 file";

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

// A captured track of a tenth of a second.
void WriteTrack(const std::string& path) {
    WriteFile(path, WavBytes(TestPcm(17640)));
}

// A burn folder on disk with a lead-in that carries no CD-TEXT.
std::string BurnWithoutCdText(const TestFolder& root, const std::string& name) {
    std::string folder = root / name;
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFile(folder + "\\leadin.dat", std::string(96 * 4, '\x40'));
    WriteFile(folder + "\\cuesheet.dat", std::string(8, '\0'));
    return folder;
}

// The captured WAVs of the tracks that the encoders reported, in their order.
Paths ReportedSources(EncoderWindow& window) {
    window.Pump();
    Paths sources;
    for (const auto& result : window.finished) {
        sources.push_back(result->sourcePath);
    }
    return sources;
}

bool OutputErrorShown() {
    return AppControl::FindMessageBox(GetCurrentProcessId(), kOutputErrorBox) != nullptr;
}

void AnswerOutputError() {
    EXPECT_TRUE(AppControl::AnswerMessageBox(GetCurrentProcessId(), kOutputErrorBox, IDOK, 10000));
}

} // namespace

TEST(ConversionThread, HandsTracksOverInOrderOncePreparingEachBurnOnce) {
    TestFolder root;
    ScopedOutputSettings output(root / "out", "<Number>", OutputFormat::Wav);
    std::string a = BurnWithoutCdText(root, "A");
    std::string b = root / "B"; // no lead-in: no lookup at all
    CreateDirectoryA(b.c_str(), nullptr);
    Paths queued = {a + "\\Track00.wav", a + "\\Track01.wav", b + "\\Track00.wav", a + "\\Track02.wav"};
    for (const std::string& path : queued) {
        WriteTrack(path);
    }
    // Another program keeps the first track from being deleted, so that converting it twice
    // would show.
    ScopedFileHandle held(CreateFileA(queued[0].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    CaptureIntake intake;
    EncoderWindow window;
    RecordingLookup lookup;
    intake.SetNotifyWindow(window.Get());
    intake.SetPlayerLookup(&lookup);

    for (const std::string& path : queued) {
        intake.QueueTrack(path.c_str());
    }
    intake.QueueTrack(queued[0].c_str()); // again, after another path
    intake.StartConversionThread();
    intake.StartConversionThread(); // a second start does nothing
    ASSERT_TRUE(WaitFor([&] { return ReportedSources(window).size() >= 4; }, 10000));
    Sleep(300);
    intake.StopConversionThread();

    EXPECT_EQ(ReportedSources(window), queued) << "the second copy of the first track is dropped";
    EXPECT_TRUE(FileExists(queued[0]));
    for (size_t i = 1; i < queued.size(); ++i) {
        EXPECT_FALSE(FileExists(queued[i])) << "converted, then deleted: " << queued[i];
    }
    // A, B, A: three preparations; only the folders with a lead-in ask the player.
    EXPECT_EQ(lookup.calls, (Paths{"cue:" + a + "\\cuesheet.dat", "cue:" + a + "\\cuesheet.dat"}));
    EXPECT_EQ(intake.PendingTrackCount(), 0);
}

TEST(ConversionThread, AnIntakeThatGoesWithItsThreadRunningStopsItFirst) {
    DWORD start = GetTickCount();
    {
        CaptureIntake intake;
        intake.StartConversionThread();
        Sleep(50);
    }
    EXPECT_LT(GetTickCount() - start, 1000u) << "the thread is stopped, not waited for forever";
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
    ResetEvent(intake.Driver().workerDoneEvents[0]);
    ResetEvent(intake.Driver().workerDoneEvents[1]);
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
            SetEvent(c->intake->Driver().workerDoneEvents[0]);
            SetEvent(c->intake->Driver().workerDoneEvents[1]);
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
    TestFolder root;
    ScopedOutputSettings output(UncreatableFolder(root.Path()), "<Number>", OutputFormat::Mp3);
    std::string burn1 = root / "Burn1";
    CreateDirectoryA(burn1.c_str(), nullptr);
    WriteTrack(burn1 + "\\Track00.wav");
    FakeIntake q;
    q.Folder(burn1);
    q.File(burn1 + "\\Track00.wav");
    q.Folder(root / "Burn2");
    q.Folder(root / "Burn3");
    q.intake->StartConversionThread();
    ASSERT_TRUE(WaitFor(OutputErrorShown, 10000)) << "the track of Burn1 in hand";
    EXPECT_EQ(q.intake->IsTrackFinished((burn1 + "\\Track00.wav").c_str()), 1)
        << "recorded as finished before it is converted";
    q.Folder(root / "Burn3"); // prunes Burn1 while its track is in hand
    EXPECT_TRUE(q.environment->deleted.empty());
    AnswerOutputError();
    EXPECT_TRUE(WaitFor([&] { return q.Idle() == 0 && !q.environment->deleted.empty(); }, 10000));
    EXPECT_EQ(q.environment->deleted, Paths{burn1});
    q.intake->StopConversionThread();
}
