#include "capture/CdText.h"
#include "tests/support/BurnFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace qvltest;
using namespace std::string_literals;
using namespace std::string_view_literals;

namespace {

using RawPack = CdTextPackBytes;
using Table = std::vector<DiscTrackInfo>;

struct LeadIn {
    int result = -1;
    int count = -1;
    Table table = Table(kTrackInfoCount);
};

LeadIn Parse(const std::string& bytes) {
    TestFolder folder;
    WriteFile(folder / "leadin.dat", bytes);
    LeadIn parsed;
    // Left-overs of an earlier session must not survive.
    std::memset(parsed.table.data(), 0x5A, sizeof(DiscTrackInfo) * kTrackInfoCount);
    parsed.result = ParseLeadIn((folder / "leadin.dat").c_str(), parsed.table.data(), &parsed.count);
    return parsed;
}

void ExpectTable(const Table& actual, const Table& expected) {
    for (int i = 0; i < kTrackInfoCount; ++i) {
        EXPECT_EQ(0, std::memcmp(&actual[i], &expected[i], sizeof(DiscTrackInfo)))
            << "record " << i << ": title '" << std::string(actual[i].title, kTextFieldSize).c_str() << "'";
    }
}

} // namespace

TEST(CdText, ReadsTheTextsOfAStandardLeadIn) {
    std::vector<RawPack> packs = Concat(
        {TextPacks(0x80, {"Album Name", "First Song", "Second Song With A Much Longer Title", "Third"}),
         TextPacks(0x81, {"The Band", "Singer A", "Singer B", "Singer C", "Guest on Four"}),
         TextPacks(0x82, {"", "Writer A"}), TextPacks(0x83, {"Composer Disc", "Composer A"}),
         TextPacks(0x84, {"Arranger Disc", "Arranger A"}), TextPacks(0x85, {"A message for all"}),
         TextPacks(0x86, {"DISC-ID-1234"}), TextPacks(0x87, {"\0\x0EJazz Fusion"s})});
    LeadIn parsed = Parse(LeadInBytes(packs));
    EXPECT_EQ(1, parsed.result);
    EXPECT_EQ(3, parsed.count) << "the highest track with a title; performers do not count";

    Table expected(kTrackInfoCount);
    strcpy(expected[0].title, "Album Name");
    strcpy(expected[1].title, "First Song");
    strcpy(expected[2].title, "Second Song With A Much Longer Title");
    strcpy(expected[3].title, "Third");
    strcpy(expected[0].artist, "The Band");
    strcpy(expected[1].artist, "Singer A");
    strcpy(expected[2].artist, "Singer B");
    strcpy(expected[3].artist, "Singer C");
    strcpy(expected[4].artist, "Guest on Four");
    strcpy(expected[1].originalArtist, "Writer A");
    strcpy(expected[0].composer, "Composer Disc");
    strcpy(expected[1].composer, "Composer A");
    strcpy(expected[0].genre, "Jazz Fusion");
    // The disc's performer and genre reach the tracks without their own.
    for (int track = 1; track < kTrackInfoCount; ++track) {
        strcpy(expected[track].genre, "Jazz Fusion");
        if (expected[track].artist[0] == '\0') {
            strcpy(expected[track].artist, "The Band");
        }
    }
    ExpectTable(parsed.table, expected);
}

TEST(CdText, GenreItemsAreACodeAndATextWithTheCodesNameForAnEmptyText) {
    // Codes 0x0005 and 0x000E carry zero bytes that must not end an item or count as padding.
    LeadIn parsed = Parse(LeadInBytes(Concat({TextPacks(0x80, {"Album", "One", "Two", "Three", "Four"}),
                                              TextPacks(0x87, {"\0\x05"s,
                                                               "\0\x0E"
                                                               "Bebop"s,
                                                               "\0\x01"s, "\0\x1B"s, "\x7F\x7F"s})})));
    EXPECT_STREQ("Classical", parsed.table[0].genre);
    EXPECT_STREQ("Bebop", parsed.table[1].genre);
    EXPECT_STREQ("Classical", parsed.table[2].genre) << "code 1 names no genre: the disc's stands";
    EXPECT_STREQ("World Music", parsed.table[3].genre);
    EXPECT_STREQ("Classical", parsed.table[4].genre) << "an unknown code names no genre";
}

TEST(CdText, ARepeatedCycleGivesTheSameTable) {
    std::vector<RawPack> cycle =
        Concat({TextPacks(0x80, {"Album", "One", "Two is a long title of a song"}),
                TextPacks(0x81, {"Artist", "First artist", "Second"}), TextPacks(0x87, {"\0\x14Pop"s})});
    LeadIn once = Parse(LeadInBytes(cycle));
    LeadIn thrice = Parse(LeadInBytes(Concat({cycle, cycle, cycle})));
    EXPECT_EQ(2, once.count);
    EXPECT_EQ(once.count, thrice.count);
    EXPECT_STREQ("Pop", thrice.table[2].genre) << "a genre run's padding does not reach the next cycle";
    EXPECT_STREQ("Two is a long title of a song", thrice.table[2].title);
    ExpectTable(thrice.table, once.table);
}

TEST(CdText, ItemsForTracksAbove100AreDropped) {
    LeadIn parsed =
        Parse(LeadInBytes({MakePack(0x80, 100, "Hundred\0Next"sv), MakePack(0x80, 101, "\0Too far\0"sv),
                           MakePack(0x81, 0xFF, "Way off\0"sv), MakePack(0x80, 0xFF, "Way off\0"sv)}));
    EXPECT_EQ(1, parsed.result);
    EXPECT_EQ(100, parsed.count) << "only titles that were stored count";
    Table expected(kTrackInfoCount);
    strcpy(expected[100].title, "Hundred");
    ExpectTable(parsed.table, expected);
}

TEST(CdText, OnlyBlockZeroIsRead) {
    LeadIn parsed =
        Parse(LeadInBytes({MakePack(0x80, 1, "English\0"sv, 0x8F), MakePack(0x80, 1, "Deutsch\0"sv, 0x10),
                           MakePack(0x80, 2, "Zwei\0"sv, 0x70), MakePack(0x81, 1, "Artist\0"sv, 0x0F)}));
    EXPECT_EQ(1, parsed.count);
    Table expected(kTrackInfoCount);
    strcpy(expected[1].title, "English");
    strcpy(expected[1].artist, "Artist");
    ExpectTable(parsed.table, expected);
}

TEST(CdText, ReadingStopsWhereTheCdTextEnds) {
    LeadIn noText = Parse(LeadInBytes({MakePack(0x01, 0, ""), MakePack(0x80, 1, "Hidden\0"sv)}));
    EXPECT_EQ(1, noText.result);
    EXPECT_EQ(0, noText.count);
    ExpectTable(noText.table, Table(kTrackInfoCount));

    // A block that does not start with a CD-TEXT pack ends the text, whatever follows.
    std::string stopped = LeadInBytes({MakePack(0x80, 1, "One\0"sv)}) +
                          LeadInBytes({MakePack(0x00, 0, ""), MakePack(0x80, 2, "Two\0"sv)}) +
                          LeadInBytes({MakePack(0x80, 3, "Three\0"sv)});
    LeadIn parsed = Parse(stopped);
    EXPECT_EQ(1, parsed.count);
    Table expected(kTrackInfoCount);
    strcpy(expected[1].title, "One");
    ExpectTable(parsed.table, expected);

    // So does the end of the file in the middle of a block.
    std::string cut =
        LeadInBytes({MakePack(0x80, 1, "One\0"sv)}) + LeadInBytes({MakePack(0x80, 2, "Two\0"sv)});
    cut.resize(kSubchannelBlockSize + kSubchannelBlockSize / 2);
    parsed = Parse(cut);
    EXPECT_EQ(1, parsed.count);
    ExpectTable(parsed.table, expected);
}

TEST(CdText, AtMost5000PacksAreRead) {
    std::vector<RawPack> packs(kMaxLeadInPacks - 4, FillerPack());
    packs.push_back(MakePack(0x80, 1, "In time\0"sv));
    packs.resize(kMaxLeadInPacks, FillerPack());
    packs.push_back(MakePack(0x80, 2, "Too late\0"sv));
    LeadIn parsed = Parse(LeadInBytes(packs));
    EXPECT_EQ(1, parsed.count);
    EXPECT_STREQ("In time", parsed.table[1].title);
    EXPECT_STREQ("", parsed.table[2].title);
}

TEST(CdText, AnUnterminatedFloodIsDiscardedAndLaterItemsAreRead) {
    // 85 packs fill the 1024-byte buffer as far as 12-byte steps go; the next pack starts afresh.
    std::vector<RawPack> flood(85 * 35, MakePack(0x80, 9, "XXXXXXXXXXXX"));
    LeadIn aligned = Parse(LeadInBytes(Concat({flood, {MakePack(0x80, 1, "Real\0"sv)}})));
    EXPECT_EQ(1, aligned.result);
    EXPECT_EQ(1, aligned.count);
    Table expected(kTrackInfoCount);
    strcpy(expected[1].title, "Real");
    ExpectTable(aligned.table, expected);

    // Off the boundary, the first item absorbs what is left of the flood; the items after it are
    // clean.
    std::vector<RawPack> offBoundary(1000, MakePack(0x81, 9, "YYYYYYYYYYYY"));
    LeadIn parsed = Parse(LeadInBytes(
        Concat({offBoundary, {MakePack(0x81, 0, "Band\0Singer\0"sv)}, TextPacks(0x80, {"Album", "Song"})})));
    EXPECT_EQ(std::string(254, 'Y'), parsed.table[0].artist);
    EXPECT_STREQ("Singer", parsed.table[1].artist);
    EXPECT_STREQ("Album", parsed.table[0].title);
    EXPECT_STREQ("Song", parsed.table[1].title);
    EXPECT_EQ(std::string(parsed.table[0].artist), parsed.table[9].artist)
        << "the disc's, nothing of its own";
}

TEST(CdText, AFileThatCannotBeOpenedGivesZeroAndAnEmptyTable) {
    TestFolder folder;
    Table table(kTrackInfoCount);
    std::memset(table.data(), 0x5A, sizeof(DiscTrackInfo) * kTrackInfoCount);
    int count = 77;
    EXPECT_EQ(0, ParseLeadIn((folder / "missing.dat").c_str(), table.data(), &count));
    EXPECT_EQ(0, count);
    ExpectTable(table, Table(kTrackInfoCount));
}
