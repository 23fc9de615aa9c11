#include "project/DiscRecord.h"

#include "tests/project/CatalogueTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace qvltest;

namespace {

void AddNumberedTrack(DiscRecord& disc, int n) {
    std::string s = std::to_string(n);
    disc.AddTrack("title" + s, "artist" + s, "album" + s, "genre" + s, "path" + s, "time" + s);
}

TEST(DiscRecordTracks, TakesOneHundredTracksAndRefusesTheNext) {
    DiscRecord disc;
    for (int n = 0; n < 100; ++n) {
        AddNumberedTrack(disc, n);
    }
    ASSERT_EQ(disc.GetTrackCount(), 100u);
    EXPECT_EQ(disc.GetTrackPath(99), "path99");

    EXPECT_FALSE(disc.AddTrack("late", "late", "late", "late", "late", "late"));
    EXPECT_EQ(disc.GetTrackCount(), 100u);
    EXPECT_EQ(disc.GetTrackPath(99), "path99");
    EXPECT_EQ(disc.GetTrackPath(100), "");
}

TEST(DiscRecordTracks, RemovingTheFirstMovesEveryFieldOfTheOthersUp) {
    DiscRecord disc;
    for (int n = 0; n < 3; ++n) {
        AddNumberedTrack(disc, n);
    }
    ASSERT_TRUE(disc.RemoveTrack(0));

    ASSERT_EQ(disc.GetTrackCount(), 2u);
    for (int i = 0; i < 2; ++i) {
        std::string s = std::to_string(i + 1);
        TrackRecord track;
        ASSERT_TRUE(disc.GetTrack(i, track));
        EXPECT_EQ(track.title, "title" + s);
        EXPECT_EQ(track.artist, "artist" + s);
        EXPECT_EQ(track.album, "album" + s);
        EXPECT_EQ(track.genre, "genre" + s);
        EXPECT_EQ(track.path, "path" + s);
        EXPECT_EQ(track.time, "time" + s);
    }
    // The freed slot holds nothing: a track added now starts clean there.
    disc.AddTrack("", "", "", "", "", "");
    TrackRecord last;
    ASSERT_TRUE(disc.GetTrack(2, last));
    EXPECT_EQ(last.title + last.artist + last.album + last.genre + last.path + last.time, "");
}

TEST(DiscRecordTracks, InvalidIndicesChangeNothing) {
    DiscRecord disc;
    AddNumberedTrack(disc, 0);
    TrackRecord track;
    track.title = "kept";
    EXPECT_FALSE(disc.GetTrack(1, track));
    EXPECT_EQ(track.title, "kept");
    EXPECT_FALSE(disc.RemoveTrack(1));
    disc.SetTrackTitle(1, "beyond");
    disc.SetTrackTags(1, "beyond", "beyond", "beyond", "beyond");
    EXPECT_EQ(disc.GetTrackCount(), 1u);
    EXPECT_EQ(disc.GetTrackTime(1), "");
    disc.AddTrack("", "", "", "", "", "");
    ASSERT_TRUE(disc.GetTrack(1, track));
    EXPECT_EQ(track.title, "");
}

TEST(DiscRecordTracks, LongTextsAreCutTo259Characters) {
    DiscRecord disc;
    std::string longText(300, 'x');
    disc.AddTrack(longText, longText, longText, longText, longText, longText);
    disc.SetFolder(longText);
    disc.SetLabel(longText);
    TrackRecord track;
    ASSERT_TRUE(disc.GetTrack(0, track));
    for (const std::string* field :
         {&track.title, &track.artist, &track.album, &track.genre, &track.path, &track.time}) {
        EXPECT_EQ(field->size(), 259u);
    }
    EXPECT_EQ(disc.GetFolder().size(), 259u);
    EXPECT_EQ(disc.GetLabel().size(), 259u);

    disc.SetTrackTags(0, longText + "a", "b", "c", "d");
    disc.SetTrackArtist(0, longText);
    ASSERT_TRUE(disc.GetTrack(0, track));
    EXPECT_EQ(track.title, std::string(259, 'x'));
    EXPECT_EQ(track.artist, std::string(259, 'x'));
    EXPECT_EQ(track.album, "c");
    EXPECT_EQ(track.genre, "d");
}

TEST(DiscRecordFiles, RemovingATrackDeletesItsFileOnly) {
    TestFolder folder;
    DiscRecord disc;
    AddTrackFile(disc, folder / "one.mp3");
    AddTrackFile(disc, folder / "two.mp3");
    disc.AddTrack("no file", "", "", "", "", "");

    ASSERT_TRUE(disc.RemoveTrack(2));
    ASSERT_TRUE(disc.RemoveTrack(0));
    EXPECT_FALSE(FileExists(folder / "one.mp3"));
    EXPECT_TRUE(FileExists(folder / "two.mp3"));
    EXPECT_EQ(disc.GetTrackPath(0), folder / "two.mp3");
}

TEST(DiscRecordLabel, ForbiddenCharactersBecomeDashes) {
    DiscRecord disc;
    disc.SetLabel("AC/DC: Live\x01*?\"<>|\\");
    EXPECT_EQ(disc.GetLabel(), "AC-DC- Live--------");
}

TEST(DiscRecordLabel, ACaseChangeMovesNothing) {
    TestFolder root;
    std::string folder = root / "Mix";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    auto disc = MakeDisc("Mix", folder);
    AddTrackFile(*disc, folder + "\\Mix 01.wav");

    disc->SetLabel("MIX");

    EXPECT_EQ(disc->GetLabel(), "MIX");
    EXPECT_EQ(disc->GetFolder(), folder);
    EXPECT_EQ(disc->GetTrackPath(0), folder + "\\Mix 01.wav");
    EXPECT_TRUE(FileExists(folder + "\\Mix 01.wav"));
    TrackRecord track;
    ASSERT_TRUE(disc->GetTrack(0, track));
    EXPECT_EQ(track.title, "title");
}

TEST(DiscRecordLabel, AnEmptyLabelMovesNothing) {
    TestFolder root;
    std::string folder = root / "Mix";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    auto disc = MakeDisc("Mix", folder);

    disc->SetLabel("");

    EXPECT_EQ(disc->GetLabel(), "");
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(disc->GetFolder(), folder);
}

TEST(DiscRecordLabel, MovesTheFolderAndRenamesTheFilesInIt) {
    TestFolder root;
    std::string folder = root / "Mix";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root / "Mix2").c_str(), nullptr));
    auto disc = MakeDisc("Mix", folder + "\\");
    AddTrackFile(*disc, folder + "\\Mix 01.Mix.wav");
    // A sibling folder whose name starts like the disc's is not the disc's folder.
    AddTrackFile(*disc, root / "Mix2\\Mix 02.wav");

    disc->SetLabel("Party: Best");

    std::string renamed = root / "Party- Best";
    EXPECT_EQ(disc->GetLabel(), "Party- Best");
    EXPECT_EQ(disc->GetFolder(), renamed);
    EXPECT_FALSE(FolderExists(folder));
    EXPECT_EQ(disc->GetTrackPath(0), renamed + "\\Party- Best 01.Party- Best.wav");
    EXPECT_TRUE(FileExists(disc->GetTrackPath(0)));
    TrackRecord track;
    ASSERT_TRUE(disc->GetTrack(0, track));
    EXPECT_EQ(track.title, "Party- Best 01");

    EXPECT_EQ(disc->GetTrackPath(1), root / "Mix2\\Mix 02.wav");
    EXPECT_TRUE(FileExists(root / "Mix2\\Mix 02.wav"));
}

TEST(DiscRecordLabel, AFileThatCannotMoveIsLookedForUnderTheNewFolder) {
    TestFolder root;
    auto disc = MakeDisc("Mix", root / "Mix");
    disc->AddTrack("t", "", "", "", root / "Mix\\Mix 01.wav", "");

    disc->SetLabel("Party");

    // Without a folder on disk nothing moves, and the record keeps its folder.
    EXPECT_EQ(disc->GetFolder(), root / "Mix");
    EXPECT_EQ(disc->GetTrackPath(0), root / "Party\\Mix 01.wav");
}

TEST(DiscRecordLabel, AFreshDiscOnlyTakesTheLabel) {
    DiscRecord disc;
    disc.SetLabel("a:b");
    EXPECT_EQ(disc.GetLabel(), "a-b");
    EXPECT_EQ(disc.GetFolder(), "");
}

} // namespace
