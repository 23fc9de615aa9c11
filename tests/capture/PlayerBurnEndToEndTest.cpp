// Real burns from the recorder simulator into a running Quaverlane while the player double holds
// the burned playlist: found by its name and titles when the burn carries CD-TEXT, by its track
// lengths when it carries none. The MP3s and the player's cover are left in QVL_TEST_OUTPUT, where
// check_player_tags.py reads their tags again with a reader that shares no code with the program.
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"
#include "finish/Id3Tag.h"
#include "res/ids/ManagerIds.h"
#include "tests/capture/PlayerDouble.h"
#include "tests/support/SampleDiscTexts.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace qvltest;
using Texts = std::vector<std::string>;

namespace {

constexpr DWORD kTimeout = 30000;
constexpr int kTracks = 3;

// What the player knows of one playlist beyond its tracks' names and artists. The same values are
// in check_player_tags.py.
struct PlayerAlbum {
    std::string album;
    std::string year;
    std::string genre;
    std::string comment;
    std::string composer;
    // Of the first track; the others count on. None is the track's number on the disc, so that it
    // can only have come from the player.
    int firstNumber;
};

const PlayerAlbum kCdTextAlbum = {.album = "Harbour Lights Suite (Remastered)",
                                  .year = "2004",
                                  .genre = "Jazz",
                                  .comment = "From the player",
                                  .composer = "Dora Finch",
                                  .firstNumber = 5};

// Without CD-TEXT everything, the file names included, comes from the player.
constexpr char kTimedPlaylist[] = "Night Crossing";
const Texts kTimedTitles = {"Harbour Bell at Midnight", "Fog Over the Slipway", "Lights Out on Quay Four"};
const Texts kTimedArtists = {"Nora Quist", "Pavel Dane", "Rosa Keel Band"};
const PlayerAlbum kTimedAlbum = {.album = "Live at the Ferry Terminal",
                                 .year = "1998",
                                 .genre = "Blues",
                                 .comment = "Matched by its lengths",
                                 .composer = "Ines Varga",
                                 .firstNumber = 11};
// The simulator's sample tracks last the given seconds plus a fifth of a second more for each
// track after the first: 285, 300 and 315 frames here, which the player shows cut to whole seconds.
constexpr char kTimedSeconds[] = "3.8";
const Texts kTimedLengths = {"0:03", "0:04", "0:04"};
// What rounding to the nearest second would give: one second more for the first track.
const Texts kRoundedLengths = {"0:04", "0:04", "0:04"};
constexpr char kDecoyPlaylist[] = "Night Crossing Rehearsal";

std::string Cover(const std::string& playlist) {
    return std::string("\xFF\xD8\xFF\xE0") + "the cover of " + playlist + " in the player" + "\xFF\xD9";
}

std::string PlaylistLines(const std::string& name, const Texts& titles, const Texts& artists,
                          const PlayerAlbum& album, const Texts& lengths, const std::string& cover) {
    std::string lines = LibraryLine("playlist", {{"Name", name}, {"Kind", "2"}});
    for (int i = 0; i < kTracks; ++i) {
        lines += LibraryLine("track", {{"Name", titles[i]},
                                       {"Artist", artists[i]},
                                       {"Album", album.album},
                                       {"Year", album.year},
                                       {"Genre", album.genre},
                                       {"Comment", album.comment},
                                       {"Composer", album.composer},
                                       {"Time", lengths[i]},
                                       {"TrackNumber", std::to_string(album.firstNumber + i)}}) +
                 LibraryLine("artwork", {{"Format", "1"}, {"File", cover}});
    }
    return lines;
}

std::set<std::string> SubFolders(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    ScopedFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &found) != 0) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && found.cFileName[0] != '.') {
            names.insert(found.cFileName);
        }
    }
    return names;
}

// The tag is written last, once the track is encoded.
bool Tagged(const std::string& path, int trackNumber) {
    TrackTags tags;
    return FileExists(path) && ReadId3Tag(path.c_str(), ID3TT_ID3V2, tags) == 1 &&
           tags.trackNumber == trackNumber;
}

class PlayerBurnEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_registration.Registered()); }
    void TearDown() override {
        // Whatever the program named the burn: the playlist's name, or a fallback label when no
        // playlist matched.
        if (m_foldersBefore) {
            for (const std::string& name : SubFolders(DefaultOutputFolder())) {
                if (m_foldersBefore->count(name) == 0) {
                    DeleteFolderTree(JoinPath(DefaultOutputFolder(), name));
                }
            }
        }
        // The program saves the player's covers there, and the program's reader the picture it read.
        for (int i = 1; i <= kTracks; ++i) {
            DeleteFileA(JoinPath(DefaultCaptureFolder(), "track" + std::to_string(i) + ".jpg").c_str());
        }
        DeleteFileA(JoinPath(DefaultCaptureFolder(), "id3tag_artwork.jpg").c_str());
    }

    // The player's cover for a playlist, written into the test's folder.
    std::string WriteCover(const std::string& playlist) {
        std::string path = m_root / (playlist + ".jpg");
        WriteFile(path, Cover(playlist));
        return path;
    }

    // The folder of a playlist's MP3s below the default output folder, emptied: an earlier run's
    // files would shift the free-name numbering.
    static std::string OutputFolder(const std::string& playlist) {
        std::string folder = JoinPath(DefaultOutputFolder(), playlist);
        DeleteFolderTree(folder);
        return folder;
    }

    // The MP3s of a playlist as the default filename format names them, "<Playlist>\<Title>".
    static Texts Outputs(const std::string& playlist, const Texts& titles) {
        std::string folder = OutputFolder(playlist);
        Texts outputs;
        for (const std::string& title : titles) {
            outputs.push_back(folder + "\\" + title + ".MP3");
        }
        return outputs;
    }

    // Notes the output folders there were, checks that the double serves its library, starts the
    // program and burns the sample disc into it.
    void StartAndBurn(const PlayerDouble& player, std::optional<ChildProcess>& program, HWND& window,
                      const std::string& recorderOptions) {
        m_foldersBefore = SubFolders(DefaultOutputFolder());
        ASSERT_TRUE(player.Running());
        program.emplace(BinFolder() + "\\Quaverlane.exe", "");
        window = AppControl::WaitForMainWindow(program->Id(), kTimeout);
        ASSERT_NE(window, nullptr);
        ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max " + recorderOptions);
        EXPECT_EQ(recorder.Wait(kTimeout), 0u);
    }

    // Burns the sample disc into the running program while the double serves the library, until
    // every output carries the player's track number; then keeps the outputs and the cover for the
    // independent check as <kept>-1.mp3 ... and <kept>-cover.jpg.
    void BurnAndKeep(const std::string& library, const std::string& recorderOptions, const Texts& outputs,
                     int firstNumber, const std::string& cover, const std::string& kept) {
        PlayerDouble player(library);
        {
            std::optional<ChildProcess> program;
            HWND window = nullptr;
            ASSERT_NO_FATAL_FAILURE(StartAndBurn(player, program, window, recorderOptions));
            EXPECT_TRUE(WaitFor(
                [&] {
                    for (int i = 0; i < kTracks; ++i) {
                        if (!Tagged(outputs[i], firstNumber + i)) {
                            return false;
                        }
                    }
                    return true;
                },
                kTimeout))
                << "every track converted under the player's title with the player's track number";
            EXPECT_EQ(player.LiveObjects(), 0) << "the program released every object of the player";
            EXPECT_TRUE(AppControl::RequestExit(window, kTimeout));
            EXPECT_EQ(program->Wait(kTimeout), 0u);
        }
        // Only now is the last tag complete: the exit waits for the track in hand.
        for (int i = 0; i < kTracks; ++i) {
            ASSERT_NO_FATAL_FAILURE(
                KeepForTheIndependentCheck(outputs[i], kept + "-" + std::to_string(i + 1) + ".mp3"));
        }
        ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(cover, kept + "-cover.jpg"));
    }

    PlayerDoubleRegistration m_registration;
    TestFolder m_root;
    RegistryValue m_captureFolder{HKEY_LOCAL_MACHINE, "Software\\Quaverlane", "TempFolder",
                                  m_root / "capture"};
    // Below the default output folder, once the outputs' folders were emptied.
    std::optional<std::set<std::string>> m_foldersBefore;
};

} // namespace

TEST_F(PlayerBurnEndToEnd, TheMp3sOfABurnWithCdTextCarryTheNamedPlaylistsTagsAndCover) {
    std::string cover = WriteCover(kSampleAlbum);
    Texts titles(std::begin(kSampleTitles), std::end(kSampleTitles));
    Texts artists(std::begin(kSampleArtists), std::end(kSampleArtists));
    // The player shows lengths that the burn does not have: only names and titles count here.
    Texts lengths(kTracks, "9:59");
    std::string library = LibraryLine("source", {{"Name", "Library"}}) +
                          PlaylistLines(kSampleAlbum, titles, artists, kCdTextAlbum, lengths, cover);

    BurnAndKeep(library, "--sample-seconds 2", Outputs(kSampleAlbum, titles), kCdTextAlbum.firstNumber, cover,
                "cd-text");
}

TEST_F(PlayerBurnEndToEnd, TheMp3sOfABurnWithoutCdTextAreNamedAfterThePlaylistWhoseLengthsMatch) {
    std::string cover = WriteCover(kTimedPlaylist);
    // Offered first; had it matched, the files would be named after it and its titles.
    std::string decoyFolder = OutputFolder(kDecoyPlaylist);
    std::string decoy = PlaylistLines(kDecoyPlaylist, {"Rehearsal One", "Rehearsal Two", "Rehearsal Three"},
                                      kTimedArtists, kTimedAlbum, kRoundedLengths, cover);
    std::string library =
        LibraryLine("source", {{"Name", "Library"}}) + decoy +
        PlaylistLines(kTimedPlaylist, kTimedTitles, kTimedArtists, kTimedAlbum, kTimedLengths, cover);

    ASSERT_NO_FATAL_FAILURE(
        BurnAndKeep(library, std::string("--sample-seconds ") + kTimedSeconds + " --no-cdtext",
                    Outputs(kTimedPlaylist, kTimedTitles), kTimedAlbum.firstNumber, cover, "cue-sheet"));
    EXPECT_FALSE(FolderExists(decoyFolder)) << "the decoy's first track is a second longer";
}

TEST_F(PlayerBurnEndToEnd, ExitWhileALargeLibraryIsSearchedReturnsWithinASecond) {
    // Thousands of playlists, none of them the burn's: the search goes through them all.
    std::string library = LibraryLine("source", {{"Name", "Library"}});
    for (int i = 0; i < 4000; ++i) {
        library += LibraryLine("playlist", {{"Name", "Party mix " + std::to_string(i)}, {"Kind", "2"}});
    }
    OutputFolder(kSampleAlbum);
    PlayerDouble player(library);
    std::optional<ChildProcess> program;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartAndBurn(player, program, window, "--sample-seconds 2"));
    Sleep(500);
    ASSERT_TRUE(AppControl::PostCommand(window, ID_EXIT_QUAVERLANE));
    ASSERT_TRUE(
        WaitFor([&] { return AppControl::FindMessageBox(program->Id(), "exit") != nullptr; }, kTimeout));
    DWORD asked = GetTickCount();
    ASSERT_TRUE(AppControl::AnswerMessageBox(program->Id(), "exit", IDYES, kTimeout));
    EXPECT_EQ(program->Wait(kTimeout), 0u);
    EXPECT_LT(GetTickCount() - asked, 1000u);
    EXPECT_EQ(CountFiles(JoinPath(DefaultOutputFolder(), kSampleAlbum), "*.MP3"), 0u)
        << "the exit came while the library was being searched, before any encode";
    EXPECT_EQ(CountFiles(JoinPath(DefaultOutputFolder(), kSampleAlbum), "*.WAV"), 3u) << "and lost no track";
    EXPECT_EQ(player.LiveObjects(), 0) << "the program released every object of the player";
}
