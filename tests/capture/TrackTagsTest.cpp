#include "capture/TrackTags.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Table = std::vector<DiscTrackInfo>;

// Every field the table does not feed, set so that a change shows.
TrackTags TagsWithOwnFields() {
    TrackTags tags;
    tags.partOfSet = "1/2";
    tags.publisher = "Label";
    tags.albumArtist = "Various";
    for (int i = 0; i < 5; ++i) {
        tags.extraStrings[i] = "extra " + std::to_string(i);
    }
    tags.title = "old title";
    tags.trackNumber = 42;
    return tags;
}

void ExpectOwnFieldsKept(const TrackTags& tags) {
    EXPECT_STREQ("1/2", tags.partOfSet.c_str());
    EXPECT_STREQ("Label", tags.publisher.c_str());
    EXPECT_STREQ("Various", tags.albumArtist.c_str());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tags.extraStrings[i], "extra " + std::to_string(i)) << i;
    }
}

} // namespace

TEST(TagString, OwnsItsOwnCopyOfTheText) {
    TagString none;
    EXPECT_TRUE(none.empty());
    ASSERT_NE(nullptr, none.c_str());
    EXPECT_STREQ("", none.c_str());
    EXPECT_EQ(0u, none.size());
    EXPECT_TRUE(none == "");
    EXPECT_TRUE(none == nullptr);

    char source[] = "Blue Train";
    TagString text = source;
    source[0] = 'X';
    EXPECT_STREQ("Blue Train", text.c_str());
    EXPECT_EQ(10u, text.size());
    EXPECT_FALSE(text.empty());

    TagString copy = text;
    EXPECT_NE(copy.c_str(), text.c_str()) << "a copy has its own buffer";
    EXPECT_TRUE(copy == text);
    copy = "Giant Steps";
    EXPECT_STREQ("Blue Train", text.c_str());
    text = copy;
    EXPECT_EQ(text, std::string("Giant Steps"));

    TagString moved = std::move(copy);
    EXPECT_STREQ("Giant Steps", moved.c_str());
    EXPECT_TRUE(copy.empty());
    moved = std::move(text);
    EXPECT_STREQ("Giant Steps", moved.c_str());
    EXPECT_TRUE(text.empty());

    std::string withZero("ab\0cd", 5);
    TagString cut = withZero;
    EXPECT_STREQ("ab", cut.c_str()) << "text ends at its first zero";
    cut = std::string();
    EXPECT_TRUE(cut.empty());
    cut = "";
    EXPECT_TRUE(cut.empty());

    EXPECT_FALSE(moved == "Giant");
    EXPECT_FALSE(moved == std::string("Giant Steps!"));
}

TEST(TagString, AssigningFromItselfKeepsTheText) {
    TagString text = "Naima";
    const TagString& same = text;
    text = same;
    EXPECT_STREQ("Naima", text.c_str());
    text = text.c_str() + 2;
    EXPECT_STREQ("ima", text.c_str()) << "a tail of its own text";
    text.assign(text.c_str(), 2);
    EXPECT_STREQ("im", text.c_str());
}

TEST(TagString, ItsOnlyMemberIsThePointerToTheText) {
    TagString text = "read elsewhere";
    char* raw = nullptr;
    std::memcpy(&raw, &text, sizeof(raw));
    EXPECT_EQ(raw, text.c_str()) << "other modules read the record's strings through this pointer";
}

TEST(TrackTags, CopiesTheRecordOfTheTrack) {
    Table table(kTrackInfoCount);
    DiscTrackInfo& record = table[7];
    strcpy(record.title, "So What");
    strcpy(record.artist, "Miles Davis");
    strcpy(record.album, "Kind of Blue");
    strcpy(record.year, "1959");
    strcpy(record.comment, "Take 3");
    strcpy(record.genre, "Jazz");
    record.genreId = 8;
    strcpy(record.composer, "Miles Davis");
    strcpy(record.originalArtist, "The Sextet");
    strcpy(record.copyright, "(C) 1959");
    strcpy(record.url, "http://example.org/");
    strcpy(record.encodedBy, "Studio");
    strcpy(record.artworkPath, "C:\\Art\\cover.jpg");
    record.trackNumber = 1;
    strcpy(table[6].title, "Wrong record");

    TrackTags tags = TagsWithOwnFields();
    ASSERT_EQ(1, BuildTrackTags(table.data(), 7, "Disc#001", tags));
    EXPECT_STREQ("So What", tags.title.c_str());
    EXPECT_STREQ("Miles Davis", tags.artist.c_str());
    EXPECT_STREQ("Kind of Blue", tags.album.c_str());
    EXPECT_STREQ("1959", tags.year.c_str());
    EXPECT_STREQ("Take 3", tags.comment.c_str());
    EXPECT_STREQ("Jazz", tags.genre.c_str());
    EXPECT_STREQ("Jazz", tags.genreText.c_str());
    EXPECT_EQ(8, tags.genreId);
    EXPECT_STREQ("Miles Davis", tags.composer.c_str());
    EXPECT_STREQ("The Sextet", tags.originalArtist.c_str());
    EXPECT_STREQ("(C) 1959", tags.copyright.c_str());
    EXPECT_STREQ("http://example.org/", tags.url.c_str());
    EXPECT_STREQ("Studio", tags.encodedBy.c_str());
    EXPECT_STREQ("C:\\Art\\cover.jpg", tags.artworkPath.c_str());
    EXPECT_EQ(1, tags.trackNumber);
    ExpectOwnFieldsKept(tags);

    // An empty record empties the fields it feeds; without a number from the player the track's
    // place on the CD is its number.
    ASSERT_EQ(1, BuildTrackTags(table.data(), 8, "Disc#001", tags));
    EXPECT_TRUE(tags.artist.empty());
    EXPECT_TRUE(tags.genreText.empty());
    EXPECT_TRUE(tags.artworkPath.empty());
    EXPECT_EQ(8, tags.trackNumber);
    EXPECT_EQ(0, tags.genreId);
    ExpectOwnFieldsKept(tags);
}

TEST(TrackTags, ATrackWithoutTitleIsNamedAfterTheDisc) {
    Table table(kTrackInfoCount);
    strcpy(table[7].artist, "Someone");
    TrackTags tags = TagsWithOwnFields();
    ASSERT_EQ(1, BuildTrackTags(table.data(), 7, "Road Trip", tags));
    EXPECT_STREQ("Road Trip-Track07", tags.title.c_str());
    EXPECT_STREQ("Someone", tags.artist.c_str());

    ASSERT_EQ(1, BuildTrackTags(table.data(), 100, "Road Trip", tags));
    EXPECT_STREQ("Road Trip-Track100", tags.title.c_str());
    ASSERT_EQ(1, BuildTrackTags(table.data(), 0, "", tags));
    EXPECT_STREQ("-Track00", tags.title.c_str());
}

TEST(TrackTags, NoTableOrATrackOutsideItLeavesTheTagsAlone) {
    Table table(kTrackInfoCount);
    strcpy(table[0].title, "Disc");
    for (int n : {-1, 101, 1000}) {
        TrackTags tags = TagsWithOwnFields();
        EXPECT_EQ(0, BuildTrackTags(table.data(), n, "Label", tags)) << n;
        EXPECT_STREQ("old title", tags.title.c_str());
        EXPECT_EQ(42, tags.trackNumber);
    }
    TrackTags tags = TagsWithOwnFields();
    EXPECT_EQ(0, BuildTrackTags(nullptr, 1, "Label", tags));
    EXPECT_STREQ("old title", tags.title.c_str());
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
