#include "capture/TrackTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Table = std::vector<DiscTrackInfo>;

} // namespace

// Other modules free and copy the record's strings; a shared or dangling buffer would show there
// as a crash, so what stays here is what would not.
TEST(TagString, OwnsItsTextAndIsNothingButThePointerToIt) {
    TagString text = "Naima";
    const TagString& same = text;
    text = same;
    EXPECT_STREQ("Naima", text.c_str());
    text = text.c_str() + 2;
    EXPECT_STREQ("ima", text.c_str()) << "a tail of its own text";
    TagString copy = text;
    EXPECT_NE(copy.c_str(), text.c_str()) << "a copy has its own buffer";
    TagString moved = std::move(copy);
    EXPECT_TRUE(copy.empty());
    EXPECT_STREQ("", copy.c_str());
    text = std::string("ab\0cd", 5);
    EXPECT_STREQ("ab", text.c_str()) << "text ends at its first zero";

    char* raw = nullptr;
    std::memcpy(&raw, &moved, sizeof(raw));
    EXPECT_EQ(raw, moved.c_str()) << "other modules read the record's strings through this pointer";
}

TEST(TrackTags, AnEmptyRecordEmptiesWhatItFeedsAndTheNumberIsTheTracksPlaceOnTheCd) {
    Table table(kTrackInfoCount);
    TrackTags tags;
    tags.artist = "old";
    tags.publisher = "Label";
    tags.trackNumber = 42;
    ASSERT_EQ(1, BuildTrackTags(table.data(), 8, "Disc#001", tags));
    EXPECT_TRUE(tags.artist.empty());
    EXPECT_EQ(8, tags.trackNumber);
    EXPECT_STREQ("Label", tags.publisher.c_str()) << "a field the table does not know of";
}

TEST(TrackTags, NoTableOrATrackOutsideItLeavesTheTagsAlone) {
    Table table(kTrackInfoCount);
    strcpy(table[0].title, "Disc");
    for (int n : {-1, 101}) {
        TrackTags tags;
        tags.title = "old title";
        EXPECT_EQ(0, BuildTrackTags(table.data(), n, "Label", tags)) << n;
        EXPECT_STREQ("old title", tags.title.c_str());
    }
    TrackTags tags;
    EXPECT_EQ(0, BuildTrackTags(nullptr, 1, "Label", tags));
}

TEST(TrackTags, AFieldWithoutTerminatorStaysInsideItsField) {
    Table table(kTrackInfoCount);
    std::memset(table[3].title, 'T', sizeof(table[3].title));
    strcpy(table[3].artist, "Next field");
    std::memset(table[3].artworkPath, 'P', sizeof(table[3].artworkPath));
    table[3].trackNumber = 0x41414141;
    TrackTags tags;
    ASSERT_EQ(1, BuildTrackTags(table.data(), 3, "Label", tags));
    EXPECT_EQ(std::string(kTextFieldSize, 'T'), tags.title.c_str());
    EXPECT_EQ(std::string(kPathFieldSize, 'P'), tags.artworkPath.c_str());
}
