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
    std::vector<CdTextPackBytes> cycle =
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
