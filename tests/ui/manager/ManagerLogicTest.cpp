// What the manager window decides without a window: sizing from its edges, which disc a track
// joins, and the play time it shows.
#include "companions/AudioTagCore/EncodeFinishResult.h"
#include "project/DiscCatalogue.h"
#include "ui/manager/ManagerLayout.h"
#include "ui/manager/ManagerPlayer.h"
#include "ui/manager/PreviewPlayback.h"
#include "ui/manager/SessionRecorder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

_AUDIO_ENCODE_FINISH_RESULT Encoded(const char* source, const char* output, const char* title) {
    _AUDIO_ENCODE_FINISH_RESULT result;
    std::strcpy(result.sourcePath, source);
    std::strcpy(result.outputPath, output);
    std::strcpy(result.title, title);
    std::strcpy(result.duration, "03:10");
    return result;
}

} // namespace

// Catches a window that can be dragged below its minimum, or that moves its far edge instead of
// stopping the dragged one.
TEST(ManagerLayout, SizingStopsTheDraggedEdgeAtTheMinimum) {
    RECT fromLeft = {300, 100, 1100, 900};
    KeepManagerMinimum(WMSZ_LEFT, fromLeft);
    EXPECT_EQ(fromLeft.right, 1100);
    EXPECT_EQ(fromLeft.left, 1100 - kManagerMinWidth);
    RECT fromCorner = {300, 100, 900, 500};
    KeepManagerMinimum(WMSZ_BOTTOMRIGHT, fromCorner);
    EXPECT_EQ(fromCorner.left, 300);
    EXPECT_EQ(fromCorner.top, 100);
    EXPECT_EQ(fromCorner.right - fromCorner.left, kManagerMinWidth);
    EXPECT_EQ(fromCorner.bottom - fromCorner.top, kManagerMinHeight);
    RECT fromTop = {0, 300, 1000, 900};
    KeepManagerMinimum(WMSZ_TOP, fromTop);
    EXPECT_EQ(fromTop.bottom, 900);
    EXPECT_EQ(fromTop.top, 900 - kManagerMinHeight);
}

// Catches edge strips that miss the window's last pixels, or a corner that sizes one way only.
TEST(ManagerLayout, TheRightAndBottomStripsAndTheCornerSizeTheWindow) {
    EXPECT_EQ(ManagerSizingEdge({999, 300}, 1000, 700), HTRIGHT);
    EXPECT_EQ(ManagerSizingEdge({994, 300}, 1000, 700), HTRIGHT);
    EXPECT_EQ(ManagerSizingEdge({993, 300}, 1000, 700), HTCLIENT);
    EXPECT_EQ(ManagerSizingEdge({500, 699}, 1000, 700), HTBOTTOM);
    EXPECT_EQ(ManagerSizingEdge({985, 685}, 1000, 700), HTBOTTOMRIGHT);
    EXPECT_EQ(ManagerSizingEdge({500, 300}, 1000, 700), HTCLIENT);
}

// Catches the tracks of one burn split over two discs when the folder's case differs, and the
// tracks of a new burn added to the disc of the one before.
TEST(SessionRecorder, OneDiscPerBurnSession) {
    EXPECT_EQ(SessionNameOf("C:\\Capture\\Burn0001\\Track01.wav"), "Burn0001");
    DiscCatalogue catalogue;
    SessionRecorder recorder;
    ASSERT_TRUE(recorder.Record(
        Encoded("C:\\Capture\\Burn0001\\Track01.wav", "C:\\Music\\Mix\\01 One.mp3", "One"), catalogue));
    ASSERT_TRUE(recorder.Record(
        Encoded("C:\\Capture\\BURN0001\\Track02.wav", "C:\\Music\\Mix\\02 Two.mp3", "Two"), catalogue));
    ASSERT_EQ(catalogue.GetCount(), 1u);
    EXPECT_EQ(catalogue.GetDisc(0)->GetTrackCount(), 2u);
    EXPECT_EQ(catalogue.GetDisc(0)->GetFolder(), "C:\\Music\\Mix");
    EXPECT_EQ(catalogue.GetDisc(0)->GetTrackTime(1), "03:10");

    ASSERT_TRUE(recorder.Record(
        Encoded("C:\\Capture\\Burn0002\\Track01.wav", "C:\\Music\\Other\\01 A.mp3", "A"), catalogue));
    ASSERT_EQ(catalogue.GetCount(), 2u);
    EXPECT_EQ(catalogue.GetDisc(1)->GetTrackCount(), 1u);
    EXPECT_NE(catalogue.GetDisc(1)->GetLabel(), catalogue.GetDisc(0)->GetLabel());
    EXPECT_EQ(catalogue.GetDisc(1)->GetTrackPath(0), "C:\\Music\\Other\\01 A.mp3");
}

// Catches the long form used before the hour is full, or minutes that run past 59 in it.
TEST(PreviewPlayback, PlayTimeChangesFormAtTheHour) {
    EXPECT_EQ(PlayTimeText(3599999, "59:59", "%d:%02d-%s", "%02d:%02d:%02d-%s"), "59:59-59:59");
    EXPECT_EQ(PlayTimeText(3600000 + 61000, "1:10:00", "%d:%02d-%s", "%02d:%02d:%02d-%s"),
              "01:01:01-1:10:00");
}

// Catches next and previous running on into another disc at a disc's end, and a playing path that
// is not found because its case differs.
TEST(ManagerPlayer, NextAndPreviousStayOnTheDisc) {
    DiscCatalogue catalogue;
    SessionRecorder recorder;
    recorder.Record(Encoded("C:\\Capture\\Burn0001\\Track01.wav", "C:\\Music\\A\\1.mp3", "1"), catalogue);
    recorder.Record(Encoded("C:\\Capture\\Burn0001\\Track02.wav", "C:\\Music\\A\\2.mp3", "2"), catalogue);
    recorder.Record(Encoded("C:\\Capture\\Burn0002\\Track01.wav", "C:\\Music\\B\\1.mp3", "1"), catalogue);
    std::string path;
    std::string time;
    ASSERT_TRUE(NeighbourTrack(catalogue, "c:\\music\\a\\1.MP3", 1, path, time));
    EXPECT_EQ(path, "C:\\Music\\A\\2.mp3");
    EXPECT_EQ(time, "03:10");
    EXPECT_FALSE(NeighbourTrack(catalogue, "C:\\Music\\A\\2.mp3", 1, path, time)) << "the disc's last track";
    EXPECT_FALSE(NeighbourTrack(catalogue, "C:\\Music\\B\\1.mp3", -1, path, time))
        << "the disc's first track";
    EXPECT_FALSE(NeighbourTrack(catalogue, "C:\\Music\\C\\9.mp3", 1, path, time));
}
