#include "capture/CaptureIntake.h"
#include "tests/capture/FakeIntakeEnvironment.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

using namespace qvltest;
using Paths = std::vector<std::string>;

namespace {

// The MP3 encoder's error box about an output file it could not create: until it is answered,
// the track stays in hand.
constexpr char kOutputErrorBox[] = "Create MP3 file";

// A captured track of a tenth of a second.
void WriteTrack(const std::string& path) {
    WriteFile(path, WavBytes(TestPcm(17640)));
}

bool OutputErrorShown() {
    return AppControl::FindMessageBox(GetCurrentProcessId(), kOutputErrorBox) != nullptr;
}

void AnswerOutputError() {
    EXPECT_TRUE(AppControl::AnswerMessageBox(GetCurrentProcessId(), kOutputErrorBox, IDOK, 10000));
}

} // namespace

TEST(ConversionThread, AnIntakeThatGoesWithItsThreadRunningStopsItFirst) {
    DWORD start = GetTickCount();
    {
        CaptureIntake intake;
        intake.StartConversionThread();
        Sleep(50);
    }
    EXPECT_LT(GetTickCount() - start, 1000u) << "the thread is stopped, not waited for forever";
}

TEST(ConversionThread, APrunedBurnFolderGoesOnlyAfterItsTrackWasConverted) {
    TestFolder root;
    std::string burn1 = root / "Burn1";
    CreateDirectoryA(burn1.c_str(), nullptr);
    WriteTrack(burn1 + "\\Track00.wav");
    FakeIntake q;
    q.Folder(burn1);
    q.File(burn1 + "\\Track00.wav");
    q.Folder(root / "Burn2");
    q.Folder(root / "Burn3");
    q.intake->SetChoices({UncreatableFolder(root.Path()), "<Number>", OutputFormat::Mp3, {}});
    q.intake->StartConversionThread();
    ASSERT_TRUE(WaitFor(OutputErrorShown, 10000)) << "the track of Burn1 in hand";
    EXPECT_EQ(q.intake->Queue().IsTrackFinished((burn1 + "\\Track00.wav").c_str()), 1)
        << "recorded as finished before it is converted";
    q.Folder(root / "Burn3"); // prunes Burn1 while its track is in hand
    EXPECT_TRUE(q.environment->deleted.empty());
    AnswerOutputError();
    EXPECT_TRUE(WaitFor([&] { return q.Idle() == 0 && !q.environment->deleted.empty(); }, 10000));
    EXPECT_EQ(q.environment->deleted, Paths{burn1});
    q.intake->StopConversionThread();
}
