#include "project/DiscRecord.h"

#include "finish/Id3Tag.h"
#include "tests/deps/DepsSupport.h"
#include "tests/project/CatalogueTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace qvltest;

namespace {

TEST(DiscRenameMp3, RewritesTheTitleAndKeepsTheRestOfTheTag) {
    TestFolder root;
    std::string folder = root / "Mix";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string mp3 = folder + "\\Mix 01.mp3";
    std::string other = folder + "\\Other 02.mp3";
    LameDll lame;
    ASSERT_NO_FATAL_FAILURE(EncodeTone(lame, mp3));
    ASSERT_NO_FATAL_FAILURE(EncodeTone(lame, other));
    TrackTags tags;
    tags.title = "Mix - Song";
    tags.artist = "Band";
    tags.trackNumber = 5;
    WriteId3Tag(mp3.c_str(), ID3TT_ID3V2, tags);
    tags.title = "Song";
    WriteId3Tag(other.c_str(), ID3TT_ID3V2, tags);

    std::string wav = folder + "\\Mix 03.extra.wav";
    WriteFile(wav, "RIFF");

    auto disc = MakeDisc("Mix", folder);
    disc->AddTrack("Mix - Song", "Band", "", "", mp3, "0:01");
    disc->AddTrack("Song", "Band", "", "", other, "0:01");
    disc->AddTrack("Mix 03", "", "", "", wav, "0:01");
    disc->SetLabel("Party");
    EXPECT_FALSE(FolderExists(folder));

    std::string moved = root / "Party\\Party 01.mp3";
    ASSERT_EQ(disc->GetTrackPath(0), moved);
    ASSERT_TRUE(FileExists(moved));
    TrackRecord track;
    ASSERT_TRUE(disc->GetTrack(0, track));
    EXPECT_EQ(track.title, "Party - Song");

    // A title without the old label is left as it was, in the file and in the record.
    std::string untouched = root / "Party\\Other 02.mp3";
    ASSERT_TRUE(FileExists(untouched));
    ASSERT_TRUE(disc->GetTrack(1, track));
    EXPECT_EQ(track.title, "Song");

    // A WAV file has no tag: its title is its new name up to the first dot.
    ASSERT_TRUE(disc->GetTrack(2, track));
    EXPECT_EQ(track.path, root / "Party\\Party 03.extra.wav");
    EXPECT_TRUE(FileExists(track.path));
    EXPECT_EQ(track.title, "Party 03");

    // check_renamed_disc.py reads the tags of both files.
    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(moved, "renamed.mp3"));
    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(untouched, "untouched.mp3"));
}

} // namespace
