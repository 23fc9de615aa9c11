#include "finish/Mp3MetaDataEdit.h"

#include "finish/Id3Tag.h"
#include "tests/finish/TagTestSupport.h"
#include "tests/support/Mp3FileLayout.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qvltest;

namespace {

std::optional<std::string> Version2Text(const std::string& path, ID3_FrameID id,
                                        ID3_FieldID field = ID3FN_TEXT) {
    return RawFieldText(path, ID3TT_ID3V2, id, field);
}

class Mp3MetaDataEditTest : public Mp3FileTest {
protected:
    // Made and used the way the music file list does: constructed for the path, given the path
    // again, then used through the interface.
    std::unique_ptr<CMediaMetaDataEdit> Editor(const std::string& path) {
        auto editor = std::make_unique<CMp3MetaDataEdit>(path.c_str());
        editor->Set_strMusicFileName(path.c_str());
        return editor;
    }
    std::unique_ptr<CMediaMetaDataEdit> Editor() { return Editor(m_mp3); }
};

} // namespace

TEST_F(Mp3MetaDataEditTest, WritesBothTagsIntoAFileWithoutAnyAppendingTheBlock) {
    auto editor = Editor();
    editor->m_metaData = FullTags(m_picture);
    EXPECT_EQ(editor->WriteMetaData(), 1);

    std::string bytes = ReadFile(m_mp3);
    EXPECT_TRUE(IsAudioBetweenTags(bytes, m_audio));

    EXPECT_TRUE(HoldsFullTagsVersion1(Block(bytes))) << "the track number as the record holds it";

    // Its own forms of the number and the genre, and a frame whose text is a URL field.
    EXPECT_EQ(Version2Text(m_mp3, ID3FID_TITLE), "Test Tone");
    EXPECT_EQ(Version2Text(m_mp3, ID3FID_WWWUSER, ID3FN_URL), "http://quaverlane.example/track7");
    EXPECT_EQ(Version2Text(m_mp3, ID3FID_TRACKNUM), "07");
    EXPECT_EQ(Version2Text(m_mp3, ID3FID_CONTENTTYPE), "(17)Rock");
    for (ID3_FrameID unwritten : {ID3FID_PUBLISHER, ID3FID_BAND, ID3FID_PARTINSET, ID3FID_PICTURE}) {
        EXPECT_EQ(Version2Text(m_mp3, unwritten), std::nullopt) << unwritten;
    }

    // Without the ID3v1 flag no block is added.
    WriteFile(m_mp3, m_audio);
    static_cast<CMp3MetaDataEdit&>(*editor).m_bID3v1 = 0;
    editor->WriteMetaData();
    EXPECT_NE(Block(ReadFile(m_mp3)).substr(0, 3), "TAG");
}

// The disc rename writes titles this way; check_renamed_disc.py reads what it leaves in ID3v2.
TEST_F(Mp3MetaDataEditTest, TheTitleOnlyFormChangesOnlyTheTitleOfAnExistingBlock) {
    auto editor = Editor();
    editor->m_metaData = FullTags("");
    editor->WriteMetaData();
    std::string before = Block(ReadFile(m_mp3));

    editor->m_metaData.title = "Renamed Tone";
    editor->m_metaData.artist = "Not Written";
    editor->m_metaData.genre = "Pop";
    EXPECT_EQ(editor->WriteMetaData(true), 1);

    std::string block = Block(ReadFile(m_mp3));
    EXPECT_EQ(block.substr(0, 33), "TAG" + Padded("Renamed Tone", 30));
    EXPECT_EQ(block.substr(33), before.substr(33)) << "only the first 33 bytes are written";
    EXPECT_EQ(Version2Text(m_mp3, ID3FID_CONTENTTYPE), "(17)Rock");
}

// The music file list reads a file's tags and writes them back; nothing may drift on the way.
TEST_F(Mp3MetaDataEditTest, ReadingAndWritingBackKeepsTheTrackNumberAndTheGenre) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(""));
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(""));

    for (int round = 1; round <= 2; ++round) {
        auto editor = Editor();
        EXPECT_EQ(editor->ReadMetaData(), 1);
        EXPECT_EQ(editor->m_metaData.trackNumber, 7) << round;
        EXPECT_EQ(editor->m_metaData.title, "Test Tone");
        EXPECT_EQ(editor->m_metaData.publisher, "Quaverlane Records");
        editor->WriteMetaData();

        EXPECT_EQ(Version2Text(m_mp3, ID3FID_TRACKNUM), "07") << round;
        EXPECT_EQ(Block(ReadFile(m_mp3))[126], 7) << round;
        EXPECT_EQ(Version2Text(m_mp3, ID3FID_CONTENTTYPE), "(17)Rock") << round;
        EXPECT_EQ(Block(ReadFile(m_mp3))[127], 17) << round;
    }
}
