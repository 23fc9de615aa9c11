#include "finish/OutputNaming.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qvltest;

namespace {

void Fill(char (&field)[kTextFieldSize], const char* text) {
    lstrcpynA(field, text, kTextFieldSize);
}

// A per-track table and an empty session folder below the test's folder.
class OutputNaming : public ::testing::Test {
protected:
    std::string PathFor(const std::string& format, int track, const std::string& label = "Best Of") {
        return OutputPathFor(m_session, format, m_table.get(), track, label, "MP3");
    }
    // The path below the session folder.
    std::string NameFor(const std::string& format, int track, const std::string& label = "Best Of") {
        return PathFor(format, track, label).substr(m_session.size());
    }

    TestFolder m_root;
    std::string m_session = m_root.Path() + "\\";
    std::unique_ptr<DiscTrackInfo[]> m_table = std::make_unique<DiscTrackInfo[]>(kTrackInfoCount);
};

std::string SystemDriveRoot() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system, 3);
}

} // namespace

TEST_F(OutputNaming, ASlashInATitleBecomesAHyphenWhileTheFormatsBackslashMakesAFolder) {
    Fill(m_table[3].title, "A/B");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 3), "Best Of\\A-B.MP3");
}

TEST_F(OutputNaming, EveryTokenIsReplacedWhereverItStandsAndValuesAreCleaned) {
    DiscTrackInfo& track = m_table[7];
    Fill(track.artist, "AC/DC");
    Fill(track.album, "Live: Donington");
    Fill(track.title, "Who Made Who?");
    Fill(track.genre, "Rock|Metal");
    Fill(track.year, "1991");
    EXPECT_EQ(NameFor("<Artist>\\<Album>\\<Number>-<Title>", 7, "Mix<1>"),
              "AC-DC\\Live- Donington\\07-Who Made Who-.MP3");
    EXPECT_EQ(NameFor("<Genre> <Playlist> <Title> <Title> <Year> <artist>", 7, "Mix<1>"),
              "Rock-Metal Mix-1- Who Made Who- Who Made Who- <Year> <artist>.MP3")
        << "year and comment have no token, and tokens are case-sensitive";
}

TEST_F(OutputNaming, AMissingArtistLeavesTheSeparatorAtTheFront) {
    Fill(m_table[2].title, "Intro");
    EXPECT_EQ(NameFor("<Artist> - <Title>", 2), " - Intro.MP3");
}

TEST_F(OutputNaming, ATakenNameIsNumberedFromOne) {
    Fill(m_table[1].title, "Title");
    CreateDirectoryA((m_session + "Best Of").c_str(), nullptr);
    std::string first = PathFor("<Playlist>\\<Title>", 1);
    EXPECT_EQ(first, m_session + "Best Of\\Title.MP3");
    WriteFile(first, "taken");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 1), "Best Of\\Title1.MP3");
    WriteFile(m_session + "Best Of\\Title1.MP3", "taken");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 1), "Best Of\\Title2.MP3");
}

TEST_F(OutputNaming, ATrackWithoutTitleGetsAnEmptyNameAndThenNumbers) {
    CreateDirectoryA((m_session + "Best Of").c_str(), nullptr);
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 3), "Best Of\\.MP3");
    WriteFile(m_session + "Best Of\\.MP3", "taken");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 4), "Best Of\\1.MP3");
}

TEST_F(OutputNaming, AnEmptyFormatNamesTheFileAfterTheTitleAsItIsOrAfterTheDisc) {
    EXPECT_EQ(NameFor("", 3), "Best Of-track03.MP3");
    Fill(m_table[3].title, "Intro");
    EXPECT_EQ(NameFor("", 3), "Intro.MP3");
}

TEST_F(OutputNaming, TrackNumbersOutsideTheTableAndAMissingTableGiveTheDiscName) {
    Fill(m_table[100].title, "Last");
    EXPECT_EQ(NameFor("<Title>", 100), "Last.MP3");
    EXPECT_EQ(NameFor("<Title>", 101), "Best Of-track101.MP3");
    EXPECT_EQ(NameFor("<Title>", -1), "Best Of-track-1.MP3");
    EXPECT_EQ(OutputPathFor(m_session, "<Title>", nullptr, 5, "AC/DC", "WAV"),
              m_session + "AC-DC-track05.WAV");
}

TEST_F(OutputNaming, NothingFromABurnLeadsOutOfTheOutputFolderOrToADevice) {
    EXPECT_EQ(NameFor("<Title>", 133, "..\\..\\..\\x"), "..-..-..-x-track133.MP3");
    Fill(m_table[1].title, "Song");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 1, ".."), "-\\Song.MP3");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 1, " . "), "-\\Song.MP3");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 1, "Live."), "Live\\Song.MP3")
        << "the file system drops the dot";
    Fill(m_table[2].title, "Tab\tBell\aLine\nEnd");
    EXPECT_EQ(NameFor("<Title>", 2), "Tab-Bell-Line-End.MP3");
    Fill(m_table[3].title, "con");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 3, "NUL.txt"), "NUL-.txt\\con-.MP3");
    Fill(m_table[4].title, "LPT1.live");
    EXPECT_EQ(NameFor("<Title>", 4), "LPT1-.live.MP3");
    Fill(m_table[5].title, "COM10");
    EXPECT_EQ(NameFor("<Title>", 5), "COM10.MP3") << "only COM1 to COM9 are devices";
}

TEST_F(OutputNaming, ALongTitleIsCutSoThatTheWholePathAndItsExtensionFit) {
    std::string common(250, 'x');
    Fill(m_table[1].title, (common + "AAAA").c_str());
    Fill(m_table[2].title, (common + "BBBB").c_str());
    std::string first = PathFor("<Title>", 1);
    EXPECT_EQ(first.size(), 259u);
    EXPECT_EQ(first.substr(first.size() - 4), ".MP3");
    WriteFile(first, "taken");
    std::string second = PathFor("<Title>", 2);
    EXPECT_NE(second, first) << "two titles alike in their first 250 characters";
    EXPECT_EQ(second.size(), 259u);
    EXPECT_EQ(second.substr(second.size() - 5), "1.MP3");
    WriteFile(second, "taken");
    EXPECT_EQ(PathFor("<Title>", 1).substr(second.size() - 5), "2.MP3") << "a re-burn is numbered on";
}

TEST(SessionOutputFolder, EndsInABackslashAndLiesOnADrive) {
    std::string root = SystemDriveRoot();
    EXPECT_EQ(SessionOutputFolder("D:\\Music"), "D:\\Music\\");
    EXPECT_EQ(SessionOutputFolder("D:\\Music\\"), "D:\\Music\\");
    EXPECT_EQ(SessionOutputFolder("Music\\"), root + "Music\\");
    EXPECT_EQ(SessionOutputFolder(""), root) << "the root of the system drive";
    EXPECT_EQ(SessionOutputFolder("D:\\Best*Of"), "D:\\Best-Of\\");
}

TEST(WrittenFormat, MP3StandsInForWMAAndWAVForAnythingUnknown) {
    EXPECT_EQ(WrittenFormat(OutputFormat::Mp3), OutputFormat::Mp3);
    EXPECT_EQ(WrittenFormat(OutputFormat::Wma), OutputFormat::Mp3);
    EXPECT_EQ(WrittenFormat(OutputFormat::Wav), OutputFormat::Wav);
    EXPECT_EQ(WrittenFormat(static_cast<OutputFormat>(7)), OutputFormat::Wav);
    EXPECT_STREQ(OutputExtension(OutputFormat::Mp3), "MP3");
    EXPECT_STREQ(OutputExtension(OutputFormat::Wav), "WAV");
}
