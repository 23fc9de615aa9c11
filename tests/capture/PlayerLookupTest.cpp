// The music player lookup against the player double, a local automation server in a process of
// its own: burn sessions are prepared from real lead-in and cue sheet files, and the lookup finds
// the burned playlist across the process boundary as it would in the running iTunes.
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "app/framework/ScopedCom.h"
#include "capture/CaptureIntake.h"
#include "capture/PlayerLookup.h"
#include "tests/capture/PlayerDouble.h"
#include "tests/support/BurnFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace qvltest;
using Texts = std::vector<std::string>;

namespace {

constexpr char kAlbum[] = "Harbour Lights";
const Texts kTitles = {"Morning Tide", "Lanterns", "Last Ferry"};
const Texts kArtists = {"Ada", "Ben", "Clara"};

std::string Source(const std::string& name) {
    return LibraryLine("source", {{"Name", name}});
}

std::string Playlist(const std::string& name, LibraryValues more = {}) {
    more.insert(more.begin(), {{"Name", name}, {"Kind", "2"}});
    return LibraryLine("playlist", more);
}

// Tracks that match the CD-TEXT of the standard burn, with the album and what else is given.
std::string MatchingTracks(const std::string& album, const LibraryValues& more = {}) {
    std::string lines;
    for (size_t i = 0; i < kTitles.size(); ++i) {
        LibraryValues values = {{"Name", kTitles[i]}, {"Artist", kArtists[i]}, {"Album", album}};
        values.insert(values.end(), more.begin(), more.end());
        lines += LibraryLine("track", values);
    }
    return lines;
}

// The table as a block of bytes, to see that nothing at all changed.
std::vector<char> Snapshot(const CaptureIntake& intake) {
    const char* bytes = reinterpret_cast<const char*>(intake.TrackInfo());
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

    // A burn folder whose lead-in carries the album title, the track titles and performers, and a
    // songwriter for track 1.
    std::string BurnWithCdText(const std::string& album = kAlbum, const Texts& titles = kTitles,
                               const Texts& artists = kArtists) {
        Texts titleItems = {album};
        titleItems.insert(titleItems.end(), titles.begin(), titles.end());
        Texts artistItems = {"Harbour Band"};
        artistItems.insert(artistItems.end(), artists.begin(), artists.end());
        std::string folder = NewBurnFolder();
        WriteFile(folder + "\\leadin.dat",
                  LeadInBytes(Concat({TextPacks(0x80, titleItems), TextPacks(0x81, artistItems),
                                      TextPacks(0x82, {"", "Writer One"})})));
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
        intake.PrepareSession(folder);
        EXPECT_EQ(player.LiveObjects(), 0) << "every object the lookup obtained is released";
        EXPECT_EQ(player.Stop(), 0u);
    }

    const DiscTrackInfo& Record(int n) const { return intake.TrackInfo()[n]; }

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

TEST_F(PlayerLookup, TheFirstUserPlaylistWithTheBurnedNameWhoseTracksAllMatchIsCopied) {
    std::string library =
        Source("Library") +
        // Not a user playlist, though everything else would match.
        LibraryLine("playlist", {{"Name", kAlbum}, {"Kind", "1"}}) + MatchingTracks("Library Kind") +
        // The collection has nothing to give for this one.
        Playlist(kAlbum, {{"Item", "false"}}) + MatchingTracks("No Item") + Playlist("Other Name") +
        MatchingTracks("Other Name") +
        // The right name, but the last title differs.
        Playlist(kAlbum) + LibraryLine("track", {{"Name", kTitles[0]}, {"Album", "Last Differs"}}) +
        LibraryLine("track", {{"Name", kTitles[1]}, {"Album", "Last Differs"}}) +
        LibraryLine("track", {{"Name", "Last Ferry (Live)"}, {"Album", "Last Differs"}}) +
        // The titles match, but one artist differs.
        Playlist(kAlbum) + LibraryLine("track", {{"Name", kTitles[0]}, {"Artist", kArtists[0]}}) +
        LibraryLine("track", {{"Name", kTitles[1]}, {"Artist", "Someone Else"}}) +
        LibraryLine("track", {{"Name", kTitles[2]}, {"Artist", kArtists[2]}}) + Source("Shared") +
        // A player track without artist is matched by its title alone.
        Playlist(kAlbum) +
        LibraryLine("track", {{"Name", kTitles[0]}, {"Artist", kArtists[0]}, {"Album", "First"}}) +
        LibraryLine("track", {{"Name", kTitles[1]}, {"Album", "First"}, {"Year", "1999"}}) +
        LibraryLine("track", {{"Name", kTitles[2]}, {"Artist", kArtists[2]}, {"Album", "First"}}) +
        Playlist(kAlbum) + MatchingTracks("Second Match");
    std::string burn = BurnWithCdText();
    PrepareWithPlayer(library, burn);

    for (int i = 1; i <= 3; ++i) {
        EXPECT_STREQ(Record(i).title, kTitles[i - 1].c_str()) << i;
        EXPECT_STREQ(Record(i).album, "First") << i;
    }
    EXPECT_STREQ(Record(1).artist, kArtists[0].c_str());
    EXPECT_STREQ(Record(2).artist, "") << "the player's empty artist replaces the CD-TEXT's";
    EXPECT_STREQ(Record(2).year, "1999");
    EXPECT_STREQ(Record(1).originalArtist, "Writer One") << "the player does not touch the songwriter";
    EXPECT_STREQ(Record(0).title, kAlbum) << "the album title stays the CD-TEXT's";
    EXPECT_STREQ(Record(4).title, "");
}

TEST_F(PlayerLookup, PlaylistsThatDoNotMatchCompletelyLeaveTheTableAsTheCdTextMadeIt) {
    std::string burn = BurnWithCdText();
    intake.PrepareSession(burn);
    std::vector<char> cdTextOnly = Snapshot(intake);
    ASSERT_STREQ(Record(3).title, kTitles[2].c_str());

    std::string library = Source("Library") + Playlist(kAlbum) + MatchingTracks("One Too Many") +
                          LibraryLine("track", {{"Name", "Hidden Track"}, {"Album", "One Too Many"}}) +
                          Playlist(kAlbum) +
                          LibraryLine("track", {{"Name", kTitles[0]}, {"Album", "Third Wrong"}}) +
                          LibraryLine("track", {{"Name", kTitles[1]}, {"Album", "Third Wrong"}}) +
                          LibraryLine("track", {{"Name", "Something Else"}, {"Album", "Third Wrong"}});
    PrepareWithPlayer(library, burn);
    EXPECT_TRUE(Snapshot(intake) == cdTextOnly) << "nothing is written before every track is confirmed";
}

TEST_F(PlayerLookup, CdTextInOtherLetterCaseIsAcceptedAndThePlayersTextReplacesIt) {
    std::string cafe = WideToAnsi(L"Caf\u00E9 del Mar", 12);
    std::string upperCafe = WideToAnsi(L"CAF\u00C9 DEL MAR", 12);
    ASSERT_EQ(AnsiToWide(cafe), L"Caf\u00E9 del Mar")
        << "the test needs a code page with the accented letter";
    std::string burn =
        BurnWithCdText("HARBOUR LIGHTS", {"MORNING TIDE", upperCafe, "last ferry"}, {"ADA", "ben", "Clara"});
    std::string longComment(300, 'c');
    std::string library = Source("Library") + Playlist("Harbour Lights") +
                          LibraryLine("track", {{"Name", "Morning Tide"}, {"Artist", "Ada"}, {"Year", "0"}}) +
                          LibraryLine("track", {{"Name", "Caf\xC3\xA9 del Mar"}, {"Comment", longComment}}) +
                          LibraryLine("track", {{"Name", "Last Ferry"}, {"TrackNumber", "12"}});
    PrepareWithPlayer(library, burn);

    EXPECT_STREQ(Record(1).title, "Morning Tide");
    EXPECT_STREQ(Record(1).artist, "Ada");
    EXPECT_STREQ(Record(1).year, "") << "year 0 is no year";
    EXPECT_EQ(Record(2).title, cafe) << "wide text arrives in the ANSI code page";
    EXPECT_EQ(Record(2).comment, std::string(254, 'c')) << "cut to the field";
    EXPECT_STREQ(Record(3).title, "Last Ferry");
    EXPECT_EQ(Record(3).trackNumber, 12);
    EXPECT_STREQ(Record(0).title, "HARBOUR LIGHTS");
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
    EXPECT_EQ(ITunesLookup().LookupByCueSheet(intake, burn + "\\missing.dat"), -1);
    EXPECT_EQ(ITunesLookup().LookupByCueSheet(intake, burn + "\\cuesheet.dat"), 0);
    EXPECT_EQ(player.LiveObjects(), 0);
}

TEST_F(PlayerLookup, CoversAreSavedInTheLogFolderAndOnlyAJpegIsRecorded) {
    std::string logFolder = DefaultCaptureFolder();
    ASSERT_TRUE(CreateFolderTree(logFolder));
    for (const char* name : {"track1.bmp", "track2.png", "track3.jpg", "track4.jpg"}) {
        DeleteFileA(JoinPath(logFolder, name).c_str());
    }
    Texts titles = {"One", "Two", "Three", "Four"};
    std::string library = Source("Library") + Playlist(kAlbum);
    const char* formats[] = {"3", "2", "1", "1"};
    for (int i = 0; i < 4; ++i) {
        std::string picture = root / ("cover" + std::to_string(i + 1));
        WriteFile(picture, "picture of track " + std::to_string(i + 1));
        library += LibraryLine("track", {{"Name", titles[i]}, {"Stream", i == 2 ? "1" : "0"}}) +
                   LibraryLine("artwork", {{"Format", formats[i]}, {"File", picture}});
    }
    PrepareWithPlayer(library, BurnWithCdText(kAlbum, titles, {}));

    std::string jpeg = JoinPath(logFolder, "track4.jpg");
    EXPECT_EQ(ReadFile(jpeg), "picture of track 4");
    EXPECT_EQ(Record(4).artworkPath, jpeg);
    TrackTags tags;
    ASSERT_EQ(intake.GetTrackTags(tags, 4), 1);
    EXPECT_EQ(tags.artworkPath, jpeg) << "the cover reaches the tags";

    EXPECT_EQ(ReadFile(JoinPath(logFolder, "track2.png")), "picture of track 2");
    EXPECT_STREQ(Record(2).artworkPath, "") << "a PNG is saved, not recorded";
    EXPECT_EQ(ReadFile(JoinPath(logFolder, "track1.bmp")), "picture of track 1");
    EXPECT_STREQ(Record(1).artworkPath, "");
    EXPECT_FALSE(FileExists(JoinPath(logFolder, "track3.jpg"))) << "a stream has no cover to save";
    EXPECT_STREQ(Record(3).artworkPath, "");
    for (const char* name : {"track1.bmp", "track2.png", "track4.jpg"}) {
        DeleteFileA(JoinPath(logFolder, name).c_str());
    }
}

TEST_F(PlayerLookup, WithoutThePlayerRunningBothLookupsGiveMinusOneAndLeaveTheTable) {
    std::string burn = BurnWithCdText();
    intake.PrepareSession(burn);
    std::vector<char> cdTextOnly = Snapshot(intake);
    ASSERT_STREQ(Record(1).title, kTitles[0].c_str());

    EXPECT_EQ(ITunesLookup().LookupByCdText(intake), -1);
    EXPECT_EQ(ITunesLookup().LookupByCueSheet(intake, burn + "\\cuesheet.dat"), -1);
    EXPECT_TRUE(Snapshot(intake) == cdTextOnly);
    // The server is registered and COM could start it: the lookup must not have asked.
    EXPECT_EQ(FindWindowA("iTunes", "iTunes"), nullptr) << "the player was started";
}

TEST_F(PlayerLookup, AFailingPropertyInTheCopyPassKeepsWhatWasCopiedAndTheSearchGoesOn) {
    std::string library = Source("Library") + Playlist(kAlbum) +
                          LibraryLine("track", {{"Name", kTitles[0]}, {"Album", "A"}}) +
                          LibraryLine("track", {{"Name", kTitles[1]}, {"Album", "A"}}) +
                          LibraryLine("track", {{"Name", kTitles[2]}, {"Album", "A"}, {"Fail", "Composer"}}) +
                          Playlist(kAlbum) + LibraryLine("track", {{"Name", kTitles[0]}, {"Album", "B"}}) +
                          LibraryLine("track", {{"Name", kTitles[1]}, {"Album", "B"}, {"Fail", "Year"}}) +
                          LibraryLine("track", {{"Name", kTitles[2]}, {"Album", "B"}});
    PrepareWithPlayer(library, BurnWithCdText());

    EXPECT_STREQ(Record(1).album, "B") << "the later candidate overwrote what the first had copied";
    EXPECT_STREQ(Record(2).album, "A") << "copied before the first candidate failed, and kept";
    EXPECT_STREQ(Record(3).album, "") << "a track whose properties cannot all be read is not copied";
    EXPECT_STREQ(Record(3).title, kTitles[2].c_str());
    EXPECT_STREQ(Record(3).artist, kArtists[2].c_str());
}
