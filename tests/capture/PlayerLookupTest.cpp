// The music player lookup against the player double, a local automation server in a process of
// its own: burn sessions are prepared from real lead-in and cue sheet files, and the lookup finds
// the burned playlist across the process boundary as it would in the running iTunes.
#include "app/framework/ScopedCom.h"
#include "capture/CaptureIntake.h"
#include "capture/PlayerLookup.h"
#include "tests/capture/PlayerDouble.h"
#include "tests/support/BurnFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace qvltest;
using Texts = std::vector<std::string>;

namespace {

constexpr char kAlbum[] = "Harbour Lights";
const Texts kTitles = {"Morning Tide", "Lanterns", "Last Ferry"};
const StopQuery kNoStop = [] { return false; };

std::string Source(const std::string& name) {
    return LibraryLine("source", {{"Name", name}});
}

std::string Playlist(const std::string& name, LibraryValues more = {}) {
    more.insert(more.begin(), {{"Name", name}, {"Kind", "2"}});
    return LibraryLine("playlist", more);
}

// The table as a block of bytes, to see that nothing at all changed.
std::vector<char> Snapshot(const BurnTrackTable& table) {
    const char* bytes = reinterpret_cast<const char*>(table.Records());
    return std::vector<char>(bytes, bytes + sizeof(DiscTrackInfo) * kTrackInfoCount);
}

// A cue sheet entry at an absolute position in frames.
std::string CueEntryAt(uint8_t track, uint8_t index, uint32_t frames) {
    return CueEntry(track, index, static_cast<uint8_t>(frames / 75 / 60),
                    static_cast<uint8_t>(frames / 75 % 60), static_cast<uint8_t>(frames % 75));
}

class PlayerLookup : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registration = std::make_unique<PlayerDoubleRegistration>(); }
    static void TearDownTestSuite() { registration.reset(); }

    void SetUp() override {
        ASSERT_TRUE(registration->Registered());
        ASSERT_EQ(FindWindowA("iTunes", "iTunes"), nullptr) << "a player left running by an earlier test";
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        comInitialised = true;
    }
    void TearDown() override {
        if (comInitialised) {
            CoUninitialize();
        }
    }

    // A burn folder whose lead-in carries the album title and the track titles.
    std::string BurnWithCdText() {
        Texts titleItems = {kAlbum};
        titleItems.insert(titleItems.end(), kTitles.begin(), kTitles.end());
        std::string folder = NewBurnFolder();
        WriteFile(folder + "\\leadin.dat", LeadInBytes(TextPacks(0x80, titleItems)));
        WriteFile(folder + "\\cuesheet.dat", CueEntryAt(1, 1, 150) + CueEntryAt(kCueLeadOut, 1, 7500));
        return folder;
    }

    // A burn folder whose lead-in holds no CD-TEXT, beside the cue sheet.
    std::string BurnWithoutCdText(const std::string& cueSheet) {
        std::string folder = NewBurnFolder();
        WriteFile(folder + "\\leadin.dat", std::string(96 * 4, '\x40'));
        WriteFile(folder + "\\cuesheet.dat", cueSheet);
        return folder;
    }

    // Prepares the burn session while the double serves the library; afterwards not one of the
    // double's objects may be alive.
    void PrepareWithPlayer(const std::string& library, const std::string& folder) {
        PlayerDouble player(library);
        ASSERT_TRUE(player.Running());
        intake.Conversion().PrepareSession(folder);
        EXPECT_EQ(player.LiveObjects(), 0) << "every object the lookup obtained is released";
        EXPECT_EQ(player.Stop(), 0u);
    }

    const DiscTrackInfo& Record(int n) { return intake.Table().Records()[n]; }

    static std::unique_ptr<PlayerDoubleRegistration> registration;
    bool comInitialised = false;
    TestFolder root;
    CaptureIntake intake;

private:
    std::string NewBurnFolder() {
        std::string folder = root / ("burn" + std::to_string(++burns));
        CreateDirectoryA(folder.c_str(), nullptr);
        return folder;
    }
    int burns = 0;
};

std::unique_ptr<PlayerDoubleRegistration> PlayerLookup::registration;

} // namespace

TEST_F(PlayerLookup, PlaylistsThatDoNotMatchCompletelyLeaveTheTableAsTheCdTextMadeIt) {
    std::string burn = BurnWithCdText();
    intake.Conversion().PrepareSession(burn);
    std::vector<char> cdTextOnly = Snapshot(intake.Table());
    ASSERT_STREQ(Record(3).title, kTitles[2].c_str());

    auto track = [](const std::string& name) {
        return LibraryLine("track", {{"Name", name}, {"Album", "Wrong"}});
    };
    std::string library = Source("Library") + Playlist(kAlbum) + track(kTitles[0]) + track(kTitles[1]) +
                          track(kTitles[2]) + track("Hidden Track") + Playlist(kAlbum) + track(kTitles[0]) +
                          track(kTitles[1]) + track("Something Else");
    PrepareWithPlayer(library, burn);
    EXPECT_TRUE(Snapshot(intake.Table()) == cdTextOnly)
        << "nothing is written before every track is confirmed";
}

TEST_F(PlayerLookup, WithoutCdTextThePlaylistIsFoundByTheLengthsOfTheCueSheet) {
    // Track 1 plays 15,415 frames (3:25 and 40 frames), track 2 279,225 frames (1:02:03).
    std::string cueSheet = CueEntryAt(0, 0, 0) + CueEntryAt(1, 0, 0) + CueEntryAt(1, 1, 150) +
                           CueEntryAt(2, 0, 150 + 15415) + CueEntryAt(2, 1, 150 + 15415 + 150) +
                           CueEntryAt(kCueLeadOut, 1, 150 + 15415 + 150 + 279225);
    std::string library =
        Source("Library") + Playlist("Off By A Second") +
        LibraryLine("track", {{"Name", "One"}, {"Time", "3:25"}}) +
        LibraryLine("track", {{"Name", "Two"}, {"Time", "1:02:04"}}) + Playlist("Night Drive") +
        LibraryLine("track", {{"Name", "Neon"}, {"Artist", "Dee"}, {"Time", "3:25"}}) +
        LibraryLine("track", {{"Name", "Long Road"}, {"Artist", "Eve"}, {"Time", "1:02:03"}});
    std::string burn = BurnWithoutCdText(cueSheet);
    PrepareWithPlayer(library, burn);

    EXPECT_STREQ(Record(0).title, "Night Drive") << "the playlist names the disc";
    EXPECT_STREQ(Record(1).title, "Neon");
    EXPECT_STREQ(Record(1).artist, "Dee");
    EXPECT_STREQ(Record(2).title, "Long Road");
    EXPECT_STREQ(Record(2).artist, "Eve");

    PlayerDouble player(library);
    ASSERT_TRUE(player.Running());
    EXPECT_EQ(ITunesLookup().LookupByCueSheet(intake.Table(), burn + "\\missing.dat", kNoStop), -1);
    EXPECT_EQ(ITunesLookup().LookupByCueSheet(intake.Table(), burn + "\\cuesheet.dat", kNoStop), 0);
    EXPECT_EQ(player.LiveObjects(), 0);
}

TEST_F(PlayerLookup, WithoutThePlayerRunningBothLookupsGiveMinusOneAndLeaveTheTable) {
    std::string burn = BurnWithCdText();
    intake.Conversion().PrepareSession(burn);
    std::vector<char> cdTextOnly = Snapshot(intake.Table());
    ASSERT_STREQ(Record(1).title, kTitles[0].c_str());

    EXPECT_EQ(ITunesLookup().LookupByCdText(intake.Table(), kNoStop), -1);
    EXPECT_EQ(ITunesLookup().LookupByCueSheet(intake.Table(), burn + "\\cuesheet.dat", kNoStop), -1);
    EXPECT_TRUE(Snapshot(intake.Table()) == cdTextOnly);
    // The server is registered and COM could start it: the lookup must not have asked.
    EXPECT_EQ(FindWindowA("iTunes", "iTunes"), nullptr) << "the player was started";

    // The next burn, without a lead-in, starts from an empty table: nothing of this one names it.
    intake.Conversion().PrepareSession(root.Path());
    EXPECT_TRUE(Snapshot(intake.Table()) == std::vector<char>(sizeof(DiscTrackInfo) * kTrackInfoCount, 0));
}
