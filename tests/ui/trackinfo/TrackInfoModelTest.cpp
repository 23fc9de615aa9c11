// The window-free decisions of the file information dialog and the reading of dropped sources.
#include "finish/Id3Tag.h"
#include "finish/MediaInfo.h"
#include "project/DiscCatalogue.h"
#include "tests/ui/trackinfo/TrackInfoTestSupport.h"
#include "ui/trackinfo/DropTagging.h"
#include "ui/trackinfo/FileInfoModel.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qvltest;

namespace {

std::unique_ptr<DiscRecord> Disc(std::initializer_list<const char*> paths) {
    auto disc = std::make_unique<DiscRecord>();
    for (const char* path : paths) {
        disc->AddTrack("t", "a", "b", "g", path, "0:10");
    }
    return disc;
}

} // namespace

TEST(FileInfoModel, KindAndSummaryTexts) {
    // Catches a kind decided on the extension's case, a VBR file shown at its frame bitrate, and
    // a size counted in thousands instead of mebibytes.
    EXPECT_EQ(FileKindOfPath("C:\\Music\\a.Mp3"), kFileMp3);
    EXPECT_EQ(FileKindOfPath("C:\\Music\\a.WMA"), kFileWma);
    EXPECT_EQ(FileKindOfPath("C:\\Music.mp3\\a.wav"), kFileOther);
    AudioSummary vbr{128000, 191500, true, 44100, true};
    EXPECT_EQ(BitrateText(vbr), "191 kbps (VBR)");
    vbr.vbr = false;
    EXPECT_EQ(BitrateText(vbr), "128 kbps");
    EXPECT_EQ(SizeText(3 * 1048576 + 524288), "3.50 MB");
}

TEST(FileInfoModel, TrackNumbersOutsideTheRangeLeaveTheStoredOne) {
    // Catches a typed track number taken although it is not a number from 0 to 500.
    int32_t number = 7;
    for (const char* typed : {"501", "-1", "12a", ""}) {
        ReadTrackNumber(typed, number);
        EXPECT_EQ(number, 7) << typed;
    }
    ReadTrackNumber("500", number);
    EXPECT_EQ(number, 500);
}

TEST(CatalogueSteps, StepsStayInsideTheDiscOfTheFile) {
    // Catches Next running on into the following disc, Previous before a disc's first track, and
    // a path compared with its case.
    DiscCatalogue catalogue;
    catalogue.AddDisc(Disc({"C:\\M\\A\\1.mp3", "C:\\M\\A\\2.mp3"}));
    catalogue.AddDisc(Disc({"C:\\M\\B\\1.mp3", "C:\\M\\B\\2.mp3"}));
    CCatalogueSteps steps(catalogue);
    EXPECT_EQ(steps.Neighbour("c:\\m\\a\\1.MP3", +1), "C:\\M\\A\\2.mp3");
    EXPECT_EQ(steps.Neighbour("C:\\M\\A\\2.mp3", +1), "");
    EXPECT_EQ(steps.Neighbour("C:\\M\\B\\1.mp3", -1), "");
    EXPECT_EQ(steps.Neighbour("C:\\M\\B\\2.mp3", -1), "C:\\M\\B\\1.mp3");
    EXPECT_EQ(steps.Neighbour("C:\\M\\C\\1.mp3", +1), "");
}

class MediaInfoTest : public TrackInfoTest {};

TEST_F(MediaInfoTest, TagsOfFlacOggAndMpeg4SourcesWhateverTheirName) {
    // Catches a source format whose tags are not read, a QuickTime ".MOV" source (an MPEG-4 file
    // under a name the MP4 reader is not chosen by) among them.
    for (const char* name : {"source.flac", "source.ogg", "source.m4a", "source.MOV"}) {
        MediaInfoResult info;
        ASSERT_TRUE(ReadMediaInfoFromFile(Copy(name).c_str(), info)) << name;
        EXPECT_EQ(info.title, "Tidewater") << name;
        EXPECT_EQ(info.artist, "Mara_Quill") << name;
        EXPECT_EQ(info.album, "Saltmarsh_Songs") << name;
        EXPECT_EQ(info.genre, "Jazz") << name;
        EXPECT_EQ(info.year, "2011") << name;
        EXPECT_EQ(info.trackNumber, 9) << name;
        EXPECT_EQ(info.composer, "Ivo_Brandt") << name;
    }
}

TEST_F(MediaInfoTest, Mp3AndWmaSourcesToo) {
    // Catches the formats Windows Media Player would have read, MP3 and WMA, left out of the reader
    // that stands in for it.
    MediaInfoResult info;
    ASSERT_TRUE(ReadMediaInfoFromFile(Copy("target.mp3", "source.mp3").c_str(), info));
    EXPECT_EQ(info.title, "Old_Title");
    EXPECT_EQ(info.trackNumber, 3);
    ASSERT_TRUE(ReadMediaInfoFromFile(Copy("target.wma", "source.wma").c_str(), info));
    EXPECT_EQ(info.artist, "Old_Crew");
}

TEST_F(MediaInfoTest, DamagedOrMissingSourcesGiveNothing) {
    // Catches a damaged MP3 or MPEG-4 file that crashes or hangs the reader, leaves a result from
    // before, or empties the tags of the track it is dropped on.
    for (const char* name : {"damaged.mp3", "damaged.m4a", "missing.flac"}) {
        const std::string path = Copy(name);
        MediaInfoResult info;
        info.title = "left over";
        ReadMediaInfoFromFile(path.c_str(), info);
        EXPECT_EQ(info.title, "") << name;
        EXPECT_FALSE(SaveMediaCover(path.c_str(), (m_folder / "cover.jpg").c_str())) << name;
        const std::string target = Copy("target.mp3", std::string("t_") + name + ".mp3");
        TagTrackFromSource(path, target, m_folder / "cover.jpg");
        TrackTags tags;
        ReadId3Tag(target.c_str(), ID3TT_ID3V2, tags);
        EXPECT_EQ(tags.title, "Old_Title") << name;
    }
}
