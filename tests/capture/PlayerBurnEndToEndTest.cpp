// A real burn from the recorder simulator into a running Quaverlane while the player double holds
// the burned playlist: the MP3s carry the playlist's tags and its JPEG cover.
#include "app/AppFolders.h"
#include "app/FolderTree.h"
#include "finish/Id3Tag.h"
#include "tests/capture/PlayerDouble.h"
#include "tests/support/SampleDiscTexts.h"
#include "tests/support/TestSupport.h"
#include "tools/control/AppControl.h"

#include <gtest/gtest.h>

#include <string>

using namespace qvltest;

namespace {

constexpr DWORD kTimeout = 30000;
// The player's track numbers differ from the disc's, so that they can only have come from it.
constexpr int kFirstPlayerNumber = 5;

std::string PlayerLibrary(const std::string& cover) {
    std::string library = LibraryLine("source", {{"Name", "Library"}}) +
                          LibraryLine("playlist", {{"Name", kSampleAlbum}, {"Kind", "2"}});
    for (int i = 0; i < 3; ++i) {
        library += LibraryLine("track", {{"Name", kSampleTitles[i]},
                                         {"Artist", kSampleArtists[i]},
                                         {"Album", "Harbour Lights Suite (Remastered)"},
                                         {"Year", "2004"},
                                         {"Genre", "Jazz"},
                                         {"Comment", "From the player"},
                                         {"Composer", "Dora Finch"},
                                         {"TrackNumber", std::to_string(kFirstPlayerNumber + i)}}) +
                   LibraryLine("artwork", {{"Format", "1"}, {"File", cover}});
    }
    return library;
}

// The tag is written last, once the track is encoded.
bool Tagged(const std::string& path, int trackNumber) {
    TrackTags tags;
    return FileExists(path) && ReadId3Tag(path.c_str(), ID3TT_ID3V2, tags) == 1 &&
           tags.trackNumber == trackNumber;
}

} // namespace

TEST(PlayerBurnEndToEnd, TheMp3sOfABurnCarryThePlaylistsTagsAndCover) {
    PlayerDoubleRegistration registration;
    ASSERT_TRUE(registration.Registered());
    TestFolder root;
    std::string cover = root / "cover.jpg";
    WriteFile(cover, std::string("\xFF\xD8\xFF\xE0 a cover of the player \xFF\xD9", 29));
    PlayerDouble player(PlayerLibrary(cover));
    ASSERT_TRUE(player.Running());

    RegistryValue captureFolder(HKEY_LOCAL_MACHINE, "Software\\Quaverlane", "TempFolder", root / "capture");
    std::string album = JoinPath(DefaultOutputFolder(), kSampleAlbum);
    DeleteFolderTree(album);
    std::string outputs[3];
    for (int i = 0; i < 3; ++i) {
        outputs[i] = album + "\\" + kSampleTitles[i] + ".MP3";
    }
    {
        ChildProcess program(BinFolder() + "\\Quaverlane.exe", "");
        HWND window = AppControl::WaitForMainWindow(program.Id(), kTimeout);
        ASSERT_NE(window, nullptr);
        ChildProcess recorder(BinFolder() + "\\recsim.exe", "--speed max --sample-seconds 2");
        EXPECT_EQ(recorder.Wait(kTimeout), 0u);
        EXPECT_TRUE(WaitFor(
            [&] {
                for (int i = 0; i < 3; ++i) {
                    if (!Tagged(outputs[i], kFirstPlayerNumber + i)) {
                        return false;
                    }
                }
                return true;
            },
            kTimeout))
            << "every track converted with the player's track number";
        EXPECT_EQ(player.LiveObjects(), 0) << "the program released every object of the player";
        EXPECT_TRUE(AppControl::RequestExit(window, kTimeout));
        EXPECT_EQ(program.Wait(kTimeout), 0u);
    }

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(outputs[i]);
        TrackTags tags;
        ReadId3Tag(outputs[i].c_str(), ID3TT_ID3V2, tags);
        EXPECT_EQ(tags.title, kSampleTitles[i]);
        EXPECT_EQ(tags.artist, kSampleArtists[i]);
        EXPECT_EQ(tags.album, "Harbour Lights Suite (Remastered)");
        EXPECT_EQ(tags.year, "2004");
        EXPECT_EQ(tags.genre, "Jazz");
        EXPECT_EQ(tags.comment, "From the player");
        EXPECT_EQ(tags.composer, "Dora Finch");
        EXPECT_EQ(tags.trackNumber, kFirstPlayerNumber + i);
        ASSERT_FALSE(tags.artworkPath.empty()) << "a picture frame";
        EXPECT_EQ(ReadFile(tags.artworkPath.c_str()), ReadFile(cover));
        DeleteFileA(tags.artworkPath.c_str());
        DeleteFileA(JoinPath(DefaultCaptureFolder(), "track" + std::to_string(i + 1) + ".jpg").c_str());
    }
    DeleteFolderTree(album);
}
