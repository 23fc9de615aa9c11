// The tag writer (its reader is the edit form's, Mp3MetaDataEditTest). What a fully tagged file holds, frame
// by frame and byte by byte, is checked by check_tags.py on the file the last test leaves; here, what one
// file cannot show.
#include "finish/Id3Tag.h"

#include "tests/finish/TagTestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

// The bytes of each picture frame of the file's ID3v2 tag.
std::vector<std::string> Pictures(const std::string& path) {
    ID3_Tag tag;
    tag.Link(path.c_str(), ID3TT_ID3V2);
    std::vector<std::string> pictures;
    std::unique_ptr<ID3_Tag::Iterator> frames(tag.CreateIterator());
    for (const ID3_Frame* frame = frames->GetNext(); frame != nullptr; frame = frames->GetNext()) {
        if (frame->GetID() == ID3FID_PICTURE) {
            const ID3_Field* data = frame->GetField(ID3FN_DATA);
            pictures.emplace_back(reinterpret_cast<const char*>(data->GetRawBinary()), data->Size());
        }
    }
    return pictures;
}

class Id3TagTest : public Mp3FileTest {};

} // namespace

// The tag goes out unpadded (check_tags.py reads its layout); one rewritten smaller must not keep
// the room it had either.
TEST_F(Id3TagTest, ARewrittenTagThatShrinksLeavesNoPaddingBeforeTheAudio) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    TrackTags shorter = FullTags(m_picture);
    shorter.comment = "";
    shorter.composer = "";
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, shorter);
    std::string fresh = m_folder / "fresh.mp3";
    WriteFile(fresh, m_audio);
    WriteId3Tag(fresh.c_str(), ID3TT_ID3V2, shorter);
    std::string rewritten = ReadFile(m_mp3);
    EXPECT_EQ(static_cast<long long>(rewritten.size()), FileSize(fresh)) << "the same tag written afresh";
    EXPECT_TRUE(rewritten.ends_with(m_audio));
}

TEST_F(Id3TagTest, AnEmptyFieldRemovesItsFrameAndAnEmptyArtworkPathLeavesThePicture) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(m_picture));
    TrackTags untitled = FullTags("");
    untitled.title = "";
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, untitled);
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, untitled);

    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_TITLE), std::nullopt);
    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_LEADARTIST), "Quaverlane");
    EXPECT_EQ(Pictures(m_mp3), std::vector<std::string>{CoverPicture()});
    EXPECT_EQ(Block(ReadFile(m_mp3)).substr(3, 30), std::string(30, '\0'));
}

TEST_F(Id3TagTest, APictureIsReplacedNotAddedAndAMissingFileGivesAnEmptyOne) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    std::string other = m_folder / "other.jpg";
    WriteFile(other, "\xFF\xD8 another picture \xFF\xD9");
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(other));
    EXPECT_EQ(Pictures(m_mp3), std::vector<std::string>{ReadFile(other)});
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_folder / "missing.jpg"));
    EXPECT_EQ(Pictures(m_mp3), std::vector<std::string>{""});
}

// Both tags as the MP3 encoder leaves them, with the artist first written in UTF-16 by another
// tagger, for check_tags.py.
TEST_F(Id3TagTest, LeavesATaggedFileForTheIndependentCheck) {
    WriteUnicodeFrame(m_mp3, ID3FID_LEADARTIST, L"Someone Else");
    TrackTags tags = FullTags(m_picture);
    tags.artist = Ansi(L"Zo\u00eb Quaverlane");
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, tags);
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, tags);
    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(m_mp3, "tagged.mp3"));
}
