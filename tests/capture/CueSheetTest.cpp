#include "capture/CueSheet.h"
#include "tests/support/BurnFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

using namespace qvltest;

namespace {

uint32_t Frames(uint32_t minute, uint32_t second, uint32_t frame) {
    return (minute * 60 + second) * 75 + frame;
}

// The 99 records sit between two guard records that the parser must never reach.
struct CueSheet {
    int result = -1;
    int count = -1;
    std::array<CueTrackTime, kMaxCueTracks + 2> records;

    CueSheet() { std::memset(records.data(), 0xEE, sizeof(records)); }
    const CueTrackTime& Track(int n) const { return records[n]; }
    bool GuardsIntact() const {
        CueTrackTime guard;
        std::memset(&guard, 0xEE, sizeof(guard));
        return std::memcmp(&records.front(), &guard, sizeof(guard)) == 0 &&
               std::memcmp(&records.back(), &guard, sizeof(guard)) == 0;
    }
    bool IsEmpty(int n) const {
        CueTrackTime zero{};
        return std::memcmp(&records[n], &zero, sizeof(zero)) == 0;
    }
};

CueSheet ParseFile(const std::string& path) {
    CueSheet sheet;
    sheet.result = ParseCueSheet(path.c_str(), &sheet.records[1], &sheet.count);
    return sheet;
}

CueSheet Parse(const std::string& bytes) {
    TestFolder folder;
    WriteFile(folder / "cuesheet.dat", bytes);
    return ParseFile(folder / "cuesheet.dat");
}

void ExpectTrack(const CueSheet& sheet, int n, uint16_t minute, uint16_t second, uint32_t frame,
                 uint32_t length, uint32_t pregap) {
    SCOPED_TRACE("track " + std::to_string(n));
    const CueTrackTime& time = sheet.Track(n);
    EXPECT_EQ(minute, time.minute);
    EXPECT_EQ(second, time.second);
    EXPECT_EQ(frame, time.frame);
    EXPECT_EQ(Frames(minute, second, frame), time.start);
    EXPECT_EQ(length, time.length);
    EXPECT_EQ(pregap, time.pregap);
}

} // namespace

TEST(CueSheet, DamagedCueSheetsStayInsideTheRecords) {
    CueSheet badNumbers =
        Parse(CueEntry(1, 1, 0, 2, 0) + CueEntry(100, 1, 1, 0, 0) + CueEntry(0xAB, 1, 1, 0, 0) +
              CueEntry(0xFF, 1, 1, 0, 0) + CueEntry(2, 1, 3, 0, 0) + CueEntry(kCueLeadOut, 1, 5, 0, 0) +
              CueEntry(4, 1, 6, 0, 0) + CueEntry(kCueLeadOut, 1, 7, 0, 0) + CueEntry(1, 0, 8, 0, 0));
    EXPECT_EQ(1, badNumbers.result);
    EXPECT_EQ(2, badNumbers.count) << "nothing after the lead-out counts";
    ExpectTrack(badNumbers, 2, 3, 0, 0, Frames(2, 0, 0), 0);
    EXPECT_EQ(Frames(0, 2, 0), badNumbers.Track(1).start);
    EXPECT_EQ(0u, badNumbers.Track(1).pregap);
    EXPECT_TRUE(badNumbers.IsEmpty(4));
    EXPECT_TRUE(badNumbers.GuardsIntact());

    // Times that run backwards give empty spans, never wrapped-around ones.
    CueSheet backwards = Parse(CueEntry(1, 1, 5, 0, 0) + CueEntry(2, 0, 1, 0, 0) + CueEntry(2, 1, 0, 30, 0) +
                               CueEntry(kCueLeadOut, 1, 9, 0, 0) + CueEntry(9, 1, 0, 0, 0).substr(0, 7));
    EXPECT_EQ(2, backwards.count) << "the trailing partial entry is not read";
    EXPECT_EQ(0u, backwards.Track(1).length);
    EXPECT_EQ(0u, backwards.Track(2).pregap);
    EXPECT_EQ(Frames(9, 0, 0) - Frames(0, 30, 0), backwards.Track(2).length);
    EXPECT_TRUE(backwards.IsEmpty(9));
}
