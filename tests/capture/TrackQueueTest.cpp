#include "tests/capture/FakeIntakeEnvironment.h"

#include <gtest/gtest.h>

using Paths = std::vector<std::string>;

namespace {

const std::string kA = "C:\\Capture\\Burn0001";
const std::string kB = "C:\\Capture\\Burn0002";
const std::string kC = "C:\\Capture\\Burn0003";

std::string Wav(const std::string& folder, int index) {
    return folder + "\\Track0" + std::to_string(index) + ".wav";
}

} // namespace

TEST(TrackQueue, TheIdleRuleSurvivesTheTickCounterWrapping) {
    FakeIntake q;
    q.environment->now = 0xFFFFFFFF - 999;
    q.Folder(kA);
    q.File(Wav(kA, 0));
    q.environment->now = 4000; // 999 + 1 + 4000 = 5000 ms later, less one
    EXPECT_EQ(q.Idle(), 0);
    q.environment->now = 4001;
    EXPECT_EQ(q.Idle(), 1);
    EXPECT_EQ(ElapsedTicks(0xFFFFFFF0, 0x10), 0x1Fu);
    EXPECT_EQ(ElapsedTicks(10, 10), 0u);
}

// Catches a catalogue left open to edits while a track waits, is being converted, or its burn
// wrote a moment ago.
TEST(TrackQueue, IsBusyFromTheFirstEventUntilTheLastTrackIsDoneAndTheBurnQuiet) {
    FakeIntake q;
    EXPECT_EQ(q.intake->IsBusy(), 0) << "nothing has happened since start";
    q.Folder(kA);
    EXPECT_EQ(q.intake->IsBusy(), 1) << "a burn has just begun";
    q.File(Wav(kA, 0));
    q.environment->now += kBurnIdleTime;
    EXPECT_EQ(q.Idle(), 1);
    EXPECT_EQ(q.intake->IsBusy(), 1) << "a track waits";
    q.intake->Queue().TakeNextTrack();
    EXPECT_EQ(q.intake->IsBusy(), 1) << "a track is being converted";
    q.intake->Queue().TrackDone();
    EXPECT_EQ(q.intake->IsBusy(), 0);
}

TEST(TrackQueue, TheCueSheetProvesTheLastTrackCompleteAndHoldsTheIdleRuleWhileItsWriterPauses) {
    FakeIntake q;
    q.environment->cueSheets[kA] = {100, 100, 50};
    q.Folder(kA);
    for (int track = 0; track < 3; ++track) {
        q.environment->heldByWriter = {Wav(kA, track)};
        q.environment->wavBytes[Wav(kA, track)] = 2352 * 10;
        q.File(Wav(kA, track));
    }
    EXPECT_EQ(q.TakeAll(), (Paths{Wav(kA, 0), Wav(kA, 1)}));

    // Its writer stops half-way and keeps the file: past five seconds it is still being written.
    q.environment->now += 6000;
    EXPECT_EQ(q.Idle(), 0);
    // It writes again, to the end, and lets go.
    q.environment->wavBytes[Wav(kA, 2)] = 2352 * 50;
    q.File(Wav(kA, 2));
    EXPECT_EQ(q.Idle(), 0) << "all its bytes, but the writer still has it";
    q.environment->heldByWriter.clear();
    EXPECT_EQ(q.Idle(), 1);
    EXPECT_EQ(q.TakeAll(), Paths{Wav(kA, 2)});

    // Complete and let go: no five-second wait. An earlier track never goes early.
    q.environment->cueSheets[kB] = {100, 50};
    q.Folder(kB);
    q.environment->wavBytes[Wav(kB, 0)] = 2352 * 100;
    q.File(Wav(kB, 0));
    EXPECT_EQ(q.Idle(), 0);
    q.environment->wavBytes[Wav(kB, 1)] = 2352 * 50;
    q.File(Wav(kB, 1));
    EXPECT_EQ(q.Idle(), 1);
    EXPECT_EQ(q.TakeAll(), (Paths{Wav(kB, 0), Wav(kB, 1)}));

    // A writer that holds a part-written track for a minute without a word is taken for dead.
    q.environment->cueSheets[kC] = {100};
    q.Folder(kC);
    q.environment->heldByWriter = {Wav(kC, 0)};
    q.File(Wav(kC, 0));
    q.environment->now += kStalledWriterTime - 1;
    EXPECT_EQ(q.Idle(), 0);
    q.environment->now += 1;
    EXPECT_EQ(q.Idle(), 1);
}

TEST(TrackQueue, OnlyFoldersDirectlyInTheCaptureFolderAreBurnsAndMissedFilesAreFound) {
    FakeIntake q;
    q.intake->SetCaptureFolder("C:\\Capture\\");
    q.Folder(kA);
    q.File(Wav(kA, 0));
    EXPECT_EQ(q.Folder(kA + "\\extra"), 0) << "a folder inside a burn is no burn";
    EXPECT_EQ(q.File(kA + "\\extra\\Track05.wav"), 0);
    EXPECT_EQ(q.intake->Queue().Sessions().size(), 1u);

    // Events for Track01 and Track02 never came; the timer finds both, in name order.
    q.environment->files.insert(Wav(kA, 2));
    q.environment->files.insert(Wav(kA, 1));
    EXPECT_EQ(q.Idle(), 0) << "new files count as events: the quiet time starts again";
    EXPECT_EQ(q.TakeAll(), (Paths{Wav(kA, 0), Wav(kA, 1)}));
    q.environment->now += 5000;
    EXPECT_EQ(q.Idle(), 1);
    EXPECT_EQ(q.TakeAll(), Paths{Wav(kA, 2)});
}

TEST(TrackQueue, APrunedBurnGetsTracksNoRuleQueuedConvertedBeforeItGoes) {
    FakeIntake q;
    // A sorts below B though it was burnt later: no rule ever completes its last track.
    q.Folder(kB);
    q.Folder(kA);
    q.File(Wav(kA, 0));
    q.File(Wav(kA, 1));
    EXPECT_EQ(q.TakeAll(), Paths{Wav(kA, 0)});
    q.intake->Queue().MarkTrackFinished(Wav(kA, 0).c_str());
    q.Folder(kC);
    q.File(Wav(kC, 0)); // prunes A
    EXPECT_EQ(q.TakeAll(), Paths{Wav(kA, 1)}) << "converted, not deleted with its folder";
    EXPECT_TRUE(q.environment->deleted.empty());
}

TEST(TrackQueue, ANewBurnFolderCompletesTheLastTrackOfTheHighestBurn) {
    FakeIntake q;
    q.Folder(kA);
    q.File(Wav(kA, 0));
    q.File(Wav(kA, 1));
    EXPECT_EQ(q.TakeAll(), Paths{Wav(kA, 0)});
    // The first WAV of a new burn arrives before its folder's own event.
    q.File(Wav(kB, 0));
    EXPECT_EQ(q.TakeAll(), Paths{Wav(kA, 1)});
    q.Folder(kB);
    EXPECT_EQ(q.TakeAll(), Paths{}) << "a folder already held";
    EXPECT_EQ(q.intake->Queue().Sessions().size(), 2u);
}

TEST(TrackQueue, AFolderWithNothingWaitingIsDeletedAtOnce) {
    FakeIntake q;
    q.Folder(kA);
    q.Folder(kB);
    q.Folder(kC);
    q.Folder(kC);
    EXPECT_EQ(q.environment->deleted, Paths{kA});
    EXPECT_EQ(q.intake->Queue().Sessions().size(), 2u);
}

TEST(TrackQueue, APathIsQueuedOnceAndNeverWhileItIsAmongTheNewestFinished) {
    FakeIntake q;
    EXPECT_EQ(q.intake->Queue().QueueTrack(nullptr), 0);
    q.intake->Queue().QueueTrack(Wav(kA, 0).c_str());
    q.intake->Queue().QueueTrack(Wav(kA, 0).c_str());
    EXPECT_EQ(q.TakeAll(), Paths{Wav(kA, 0)});

    for (int i = 0; i < 40; ++i) {
        q.intake->Queue().MarkTrackFinished(("C:\\F\\Track" + std::to_string(i) + ".wav").c_str());
    }
    EXPECT_EQ(q.intake->Queue().LastFinishedTrack(), "C:\\F\\Track39.wav");
    EXPECT_EQ(q.intake->Queue().IsTrackFinished("C:\\F\\Track7.wav"), 0) << "only the 32 newest are kept";
    EXPECT_EQ(q.intake->Queue().IsTrackFinished("C:\\F\\TRACK8.WAV"), 1) << "compared without case";
    EXPECT_EQ(q.intake->Queue().IsTrackFinished(nullptr), 1);
    q.intake->Queue().QueueTrack("C:\\F\\Track30.wav");
    q.intake->Queue().QueueTrack("C:\\F\\Track5.wav");
    EXPECT_EQ(q.TakeAll(), Paths{"C:\\F\\Track5.wav"})
        << "a finished track that fell off the list comes again";

    // A finished WAV reported again is ignored like any other file.
    q.Folder("C:\\F");
    EXPECT_EQ(q.File("C:\\F\\Track39.wav"), 0);
}
