#include "project/DiscRecord.h"

#include "tests/project/CatalogueTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qvltest;

namespace {

void AddNumberedTrack(DiscRecord& disc, int n) {
    std::string s = std::to_string(n);
    disc.AddTrack("title" + s, "artist" + s, "album" + s, "genre" + s, "path" + s, "time" + s);
}

std::vector<std::string> Fields(const DiscRecord& disc, size_t i) {
    TrackRecord track;
    disc.GetTrack(i, track);
    return {track.title, track.artist, track.album, track.genre, track.path, track.time};
}

// A disc of its own folder below a test folder, with one track file in it.
struct DiscOnDisk {
    TestFolder root;
    std::string folder = root / "Mix";
    std::unique_ptr<DiscRecord> disc;

    DiscOnDisk() {
        CreateDirectoryA(folder.c_str(), nullptr);
        disc = MakeDisc("Mix", folder);
        AddTrackFile(*disc, folder + "\\Mix 01.wav");
    }
};

TEST(DiscRecordTracks, HoldOneHundredTracksInSixFieldsThatMoveUpTogether) {
    DiscRecord disc;
    for (int n = 0; n < 100; ++n) {
        AddNumberedTrack(disc, n);
    }
    EXPECT_FALSE(disc.AddTrack("late", "late", "late", "late", "late", "late"));
    ASSERT_EQ(disc.GetTrackCount(), 100u);
    EXPECT_EQ(disc.GetTrackPath(99), "path99");

    ASSERT_TRUE(disc.RemoveTrack(0));
    ASSERT_EQ(disc.GetTrackCount(), 99u);
    EXPECT_EQ(Fields(disc, 0),
              (std::vector<std::string>{"title1", "artist1", "album1", "genre1", "path1", "time1"}));
    EXPECT_EQ(Fields(disc, 98),
              (std::vector<std::string>{"title99", "artist99", "album99", "genre99", "path99", "time99"}));
    // The freed slot holds nothing: a track added now starts clean there.
    disc.AddTrack("", "", "", "", "", "");
    EXPECT_EQ(Fields(disc, 99), std::vector<std::string>(6));
}

TEST(DiscRecordTracks, InvalidIndicesChangeNothingAndLongTextsAreCut) {
    DiscRecord disc;
    AddNumberedTrack(disc, 0);
    TrackRecord track;
    track.title = "kept";
    EXPECT_FALSE(disc.GetTrack(1, track));
    EXPECT_EQ(track.title, "kept");
    EXPECT_FALSE(disc.RemoveTrack(1));
    disc.SetTrackTags(1, "beyond", "beyond", "beyond", "beyond");
    EXPECT_EQ(disc.GetTrackCount(), 1u);
    EXPECT_EQ(disc.GetTrackTime(1), "");

    std::string longText(300, 'x');
    disc.AddTrack(longText, longText, longText, longText, longText, longText);
    disc.SetFolder(longText);
    disc.SetLabel(longText, false);
    EXPECT_EQ(Fields(disc, 1), std::vector<std::string>(6, std::string(259, 'x')));
    EXPECT_EQ(disc.GetFolder().size(), 259u);
    EXPECT_EQ(disc.GetLabel().size(), 259u);
    disc.SetTrackArtist(0, longText);
    EXPECT_EQ(Fields(disc, 0)[1], std::string(259, 'x'));
}

TEST(DiscRecordLabel, ACaseChangeOrAnEmptyLabelMovesNothing) {
    for (const char* label : {"MIX", ""}) {
        DiscOnDisk mix;
        mix.disc->SetLabel(label);
        EXPECT_EQ(mix.disc->GetLabel(), label);
        EXPECT_EQ(mix.disc->GetFolder(), mix.folder) << label;
        EXPECT_EQ(mix.disc->GetTrackPath(0), mix.folder + "\\Mix 01.wav") << label;
        EXPECT_TRUE(FileExists(mix.folder + "\\Mix 01.wav")) << label;
    }
}

TEST(DiscRecordLabel, MovesTheFolderAndRenamesTheFilesInIt) {
    DiscOnDisk mix;
    mix.disc->SetFolder(mix.folder + "\\");
    AddTrackFile(*mix.disc, mix.folder + "\\Mix 02.Mix.wav");
    // A sibling folder whose name starts like the disc's is not the disc's folder.
    ASSERT_TRUE(CreateDirectoryA((mix.root / "Mix2").c_str(), nullptr));
    AddTrackFile(*mix.disc, mix.root / "Mix2\\Mix 03.wav");

    mix.disc->SetLabel("Party: Best");

    std::string renamed = mix.root / "Party- Best";
    EXPECT_EQ(mix.disc->GetFolder(), renamed);
    EXPECT_FALSE(FolderExists(mix.folder));
    EXPECT_EQ(mix.disc->GetTrackPath(1), renamed + "\\Party- Best 02.Party- Best.wav");
    EXPECT_TRUE(FileExists(mix.disc->GetTrackPath(1)));
    EXPECT_EQ(Fields(*mix.disc, 1)[0], "Party- Best 02");
    EXPECT_EQ(mix.disc->GetTrackPath(2), mix.root / "Mix2\\Mix 03.wav");
    EXPECT_TRUE(FileExists(mix.root / "Mix2\\Mix 03.wav"));
}

} // namespace
