#include "capture/CdText.h"
#include "tests/support/BurnFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
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

TEST(CdText, DecodesFourPacksFromTheSixLowBitsOfEachSymbol) {
    std::array<uint8_t, kSubchannelBlockSize> symbols{};
    // 010000 100000 110000 000001 → 0x42 0x0C 0x01, under P and Q bits that must be dropped.
    symbols[0] = 0xD0;
    symbols[1] = 0x60;
    symbols[2] = 0xB0;
    symbols[3] = 0xC1;
    symbols[92] = symbols[93] = symbols[94] = symbols[95] = 0xFF;
    SubchannelBlock block = DecodeSubchannelBlock(symbols);
    EXPECT_EQ(0x42, block.packs[0].type);
    EXPECT_EQ(0x0C, block.packs[0].track);
    EXPECT_EQ(0x01, block.packs[0].sequence);
    EXPECT_EQ(0xFF, block.packs[3].text[11]);
    EXPECT_EQ(0xFF, block.packs[3].crc[0]);
    EXPECT_EQ(0xFF, block.packs[3].crc[1]);

    std::vector<RawPack> packs = {MakePack(0x80, 0, "Album\0First "sv), MakePack(0x81, 7, "Band\0"sv, 0x9F),
                                  MakePack(0x87, 0xFE, "\xFF\x01\x80"sv), MakePack(0x8F, 3, "")};
    std::string bytes = LeadInBytes(packs);
    ASSERT_EQ(static_cast<size_t>(kSubchannelBlockSize), bytes.size());
    block = DecodeSubchannelBlock(std::span<const uint8_t, kSubchannelBlockSize>(
        reinterpret_cast<const uint8_t*>(bytes.data()), kSubchannelBlockSize));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0, std::memcmp(&block.packs[i], packs[i].data(), sizeof(CdTextPack))) << "pack " << i;
    }
    EXPECT_EQ(1, block.packs[1].BlockNumber());
}

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

TEST(CdText, ItemsRunningAcrossPacksGoToTheTrackOfThePackTheyEndIn) {
    LeadIn spanning = Parse(LeadInBytes({MakePack(0x80, 4, "ABCDEFGHIJKL"), MakePack(0x80, 5, "MN\0"sv)}));
    EXPECT_STREQ("ABCDEFGHIJKLMN", spanning.table[5].title) << "stored whole";
    EXPECT_STREQ("", spanning.table[4].title);
    EXPECT_EQ(5, spanning.count);

    LeadIn twoInOne =
        Parse(LeadInBytes({MakePack(0x80, 2, "Track two ti"), MakePack(0x80, 2, "tle\0Three\0\0\0"sv)}));
    EXPECT_STREQ("Track two title", twoInOne.table[2].title);
    EXPECT_STREQ("Three", twoInOne.table[3].title);
    EXPECT_EQ(3, twoInOne.count);
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

TEST(CdText, StoreCdTextFillsTheFieldOfItsPackType) {
    Table table(kTrackInfoCount);
    EXPECT_TRUE(StoreCdText(table.data(), "Title", 1, 0x80));
    EXPECT_TRUE(StoreCdText(table.data(), "Performer", 1, 0x81));
    EXPECT_TRUE(StoreCdText(table.data(), "Songwriter", 1, 0x82));
    EXPECT_TRUE(StoreCdText(table.data(), "Composer", 1, 0x83));
    EXPECT_TRUE(StoreCdText(table.data(), "Rock", 1, 0x87));
    EXPECT_STREQ("Title", table[1].title);
    EXPECT_STREQ("Performer", table[1].artist);
    EXPECT_STREQ("Songwriter", table[1].originalArtist);
    EXPECT_STREQ("Composer", table[1].composer);
    EXPECT_STREQ("Rock", table[1].genre);

    Table untouched(kTrackInfoCount);
    EXPECT_FALSE(StoreCdText(untouched.data(), "R", 2, 0x87)) << "a one-character genre is a code";
    EXPECT_TRUE(StoreCdText(untouched.data(), "Ra", 3, 0x87));
    EXPECT_STREQ("Ra", untouched[3].genre);
    untouched[3] = DiscTrackInfo{};
    for (uint8_t type : {0x84, 0x85, 0x86, 0x88, 0x8F, 0x00, 0x7F}) {
        EXPECT_FALSE(StoreCdText(untouched.data(), "Not kept", 2, type)) << int(type);
    }
    EXPECT_FALSE(StoreCdText(untouched.data(), "", 2, 0x80));
    EXPECT_FALSE(StoreCdText(untouched.data(), "Outside", -1, 0x80));
    EXPECT_FALSE(StoreCdText(untouched.data(), "Outside", kTrackInfoCount, 0x80));
    ExpectTable(untouched, Table(kTrackInfoCount));

    EXPECT_TRUE(StoreCdText(table.data(), "Last", 100, 0x80));
    EXPECT_STREQ("Last", table[100].title);

    std::string tooLong(300, 'x');
    EXPECT_TRUE(StoreCdText(table.data(), tooLong.c_str(), 5, 0x80));
    EXPECT_EQ(std::string(254, 'x'), table[5].title);
    EXPECT_EQ(0, table[5].artist[0]) << "the next field stays as it was";

    EXPECT_TRUE(StoreCdText(table.data(), "Long title", 6, 0x80));
    EXPECT_TRUE(StoreCdText(table.data(), "Short", 6, 0x80));
    EXPECT_STREQ("Shorttitle", table[6].title) << "a later item overwrites as many characters as it has";
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

    LeadIn empty = Parse("");
    EXPECT_EQ(1, empty.result);
    EXPECT_EQ(0, empty.count);
    ExpectTable(empty.table, Table(kTrackInfoCount));

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
