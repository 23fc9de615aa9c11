#include "finish/OutputNaming.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace qvltest;

namespace {

// A per-track table and an empty session folder below the test's folder.
class OutputNaming : public ::testing::Test {
protected:
    std::string PathFor(const std::string& format, int track, const std::string& label = "Best Of") {
        bool inTable = track >= 0 && track <= 100;
        return OutputPathFor(m_session, format, inTable ? &m_tracks[track] : nullptr, track, label, "MP3");
    }
    // The path below the session folder.
    std::string NameFor(const std::string& format, int track, const std::string& label = "Best Of") {
        return PathFor(format, track, label).substr(m_session.size());
    }

    TestFolder m_root;
    std::string m_session = m_root.Path() + "\\";
    std::map<int, TrackTags> m_tracks;
};

std::string SystemDriveRoot() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system, 3);
}

} // namespace

TEST_F(OutputNaming, EveryTokenIsReplacedWhereverItStandsAndValuesAreCleaned) {
    TrackTags& track = m_tracks[7];
    track.artist = "AC/DC";
    track.album = "Live: Donington";
    track.title = "Who Made Who?";
    track.genre = "Rock|Metal";
    track.year = "1991";
    EXPECT_EQ(NameFor("<Artist>\\<Album>\\<Number>-<Title>", 7, "Mix<1>"),
              "AC-DC\\Live- Donington\\07-Who Made Who-.MP3");
    EXPECT_EQ(NameFor("<Genre> <Playlist> <Title> <Title> <Year> <artist>", 7, "Mix<1>"),
              "Rock-Metal Mix-1- Who Made Who- Who Made Who- <Year> <artist>.MP3")
        << "year and comment have no token, and tokens are case-sensitive";
}

TEST_F(OutputNaming, TrackNumbersOutsideTheTableAndAMissingTableGiveTheDiscName) {
    m_tracks[100].title = "Last";
    EXPECT_EQ(NameFor("<Title>", 100), "Last.MP3");
    EXPECT_EQ(NameFor("<Title>", 101), "Best Of-track101.MP3");
    EXPECT_EQ(NameFor("<Title>", -1), "Best Of-track-1.MP3");
    EXPECT_EQ(OutputPathFor(m_session, "<Title>", nullptr, 5, "AC/DC", "WAV"),
              m_session + "AC-DC-track05.WAV");
}

TEST_F(OutputNaming, NothingFromABurnLeadsOutOfTheOutputFolderOrToADevice) {
    EXPECT_EQ(NameFor("<Title>", 133, "..\\..\\..\\x"), "..-..-..-x-track133.MP3");
    m_tracks[1].title = "Song";
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 1, ".."), "-\\Song.MP3");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 1, " . "), "-\\Song.MP3");
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 1, "Live."), "Live\\Song.MP3")
        << "the file system drops the dot";
    m_tracks[2].title = "Tab\tBell\aLine\nEnd";
    EXPECT_EQ(NameFor("<Title>", 2), "Tab-Bell-Line-End.MP3");
    m_tracks[3].title = "con";
    EXPECT_EQ(NameFor("<Playlist>\\<Title>", 3, "NUL.txt"), "NUL-.txt\\con-.MP3");
    m_tracks[4].title = "LPT1.live";
    EXPECT_EQ(NameFor("<Title>", 4), "LPT1-.live.MP3");
    m_tracks[5].title = "COM10";
    EXPECT_EQ(NameFor("<Title>", 5), "COM10.MP3") << "only COM1 to COM9 are devices";
}

TEST_F(OutputNaming, ALongTitleIsCutSoThatTheWholePathAndItsExtensionFit) {
    std::string common(250, 'x');
    m_tracks[1].title = (common + "AAAA").c_str();
    m_tracks[2].title = (common + "BBBB").c_str();
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

// The output folder of a burn: the settings' folder cleaned, made absolute on the system drive,
// with a backslash at its end.
TEST(SessionOutputFolder, EndsInABackslashAndLiesOnADrive) {
    std::string root = SystemDriveRoot();
    EXPECT_EQ(SessionOutputFolder("D:\\Music"), "D:\\Music\\");
    EXPECT_EQ(SessionOutputFolder("Music\\"), root + "Music\\");
    EXPECT_EQ(SessionOutputFolder(""), root) << "the root of the system drive";
    EXPECT_EQ(SessionOutputFolder("D:/Best*Of//Live"), "D:\\Best-Of-\\Live\\");
    EXPECT_EQ(SessionOutputFolder("D:\\a:b\x01"), "D:\\a-b-\\");
    EXPECT_EQ(SessionOutputFolder("//server/share"), "\\\\server\\share\\")
        << "the leading pair of a network path stays";
}

TEST(WrittenFormat, MP3StandsInForWMAWithoutItsLibraryAndWAVForAnythingUnknown) {
    EXPECT_EQ(WrittenFormat(OutputFormat::Wma, true), OutputFormat::Wma);
    EXPECT_EQ(WrittenFormat(OutputFormat::Wma, false), OutputFormat::Mp3);
    EXPECT_EQ(WrittenFormat(static_cast<OutputFormat>(7), true), OutputFormat::Wav);
    EXPECT_STREQ(OutputExtension(OutputFormat::Wma), "WMA");
}
