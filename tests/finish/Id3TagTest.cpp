// The tag writer and reader. What a fully tagged file holds, frame by frame and byte by byte, is
// checked by check_tags.py on the file the last test leaves; here, what one file cannot show.
#include "finish/Id3Tag.h"

#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "tests/finish/TagTestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

std::string BigEndianUtf16(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text) {
        bytes += static_cast<char>(c >> 8);
        bytes += static_cast<char>(c & 0xFF);
    }
    return bytes;
}

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

TEST_F(Id3TagTest, Version1GenreIsTheListNumberAndVersion2KeepsTheText) {
    struct Case {
        const char* genre;
        int number;
    };
    for (const Case& c : {Case{"rOCK", 17}, Case{"Nu Jazz", 12}, Case{"(13)", 13}}) {
        WriteFile(m_mp3, m_audio);
        TrackTags tags = FullTags("");
        tags.genre = c.genre;
        WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, tags);
        WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, tags);
        EXPECT_EQ(Block(ReadFile(m_mp3))[127], c.number) << c.genre;
        EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_CONTENTTYPE), c.genre);
    }
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

TEST_F(Id3TagTest, AUnicodeFrameIsRewrittenInUnicodeAndReadBackInTheCodePage) {
    const std::wstring title = L"Caf\u00e9 Cr\u00e8me";
    ASSERT_EQ(Ansi(title).size(), title.size()) << "the code page holds the accents";
    WriteUnicodeFrame(m_mp3, ID3FID_TITLE, L"Old Title");
    TrackTags tags = FullTags("");
    tags.title = Ansi(title);
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, tags);

    EXPECT_EQ(FrameEncoding(m_mp3, ID3FID_TITLE), ID3TE_UTF16);
    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_TITLE), BigEndianUtf16(title));
    TrackTags read;
    ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V2, read);
    EXPECT_EQ(read.title, Ansi(title));
}

// ReadId3Tag saves the picture in the default capture folder, which the program makes at start-up.
TEST_F(Id3TagTest, ReadingGivesBackWhatWasWrittenWithTheHeaderAndThePicture) {
    bool captureFolderWasThere = FolderExists(DefaultCaptureFolder());
    CreateFolderTree(DefaultCaptureFolder());
    std::string artwork = DefaultCaptureFolder() + "\\id3tag_artwork.jpg";
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(m_picture));

    TrackTags read;
    Mp3_Headerinfo header{};
    EXPECT_EQ(ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V2, read, &header), 1);
    TrackTags expected = FullTags(artwork);
    for (TagString TrackTags::*field :
         {&TrackTags::partOfSet, &TrackTags::title, &TrackTags::comment, &TrackTags::genre, &TrackTags::url,
          &TrackTags::artworkPath, &TrackTags::publisher, &TrackTags::albumArtist}) {
        EXPECT_EQ(read.*field, (expected.*field).c_str());
    }
    EXPECT_EQ(read.trackNumber, 7);
    EXPECT_TRUE(ReadFile(artwork) == CoverPicture());
    EXPECT_EQ(header.bitrate, MP3BITRATE_128K);
    EXPECT_EQ(header.frequency, 44100u);

    TrackTags version1 = FullTags("");
    version1.composer = "kept";
    ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V1, version1);
    EXPECT_EQ(version1.title, "Test Tone");
    EXPECT_EQ(version1.genre, "(17)");
    EXPECT_EQ(version1.trackNumber, 7);
    EXPECT_EQ(version1.composer, "kept") << "ID3v1 has no composer to read";

    // A tag without a frame empties the field and names no picture.
    TrackTags sparse;
    sparse.title = "Only A Title";
    WriteFile(m_mp3, m_audio);
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, sparse);
    ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V2, read);
    EXPECT_EQ(read.title, "Only A Title");
    EXPECT_EQ(read.artist, "");
    EXPECT_EQ(read.trackNumber, 0);
    EXPECT_EQ(read.artworkPath, "");

    DeleteFileA(artwork.c_str());
    if (!captureFolderWasThere) {
        RemoveDirectoryA(DefaultCaptureFolder().c_str());
    }
}

// Linked for ID3v1 alone, id3lib does not step over an ID3v2 tag to find the audio, so callers take
// the header from the ID3v2 read; a file with only an ID3v1 tag gives it with the ID3v1 read.
TEST_F(Id3TagTest, ReadingVersion1GivesTheHeaderOfAFileWithoutVersion2) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(""));
    TrackTags read;
    Mp3_Headerinfo header{};
    ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V1, read, &header);
    EXPECT_EQ(header.frequency, 44100u);
    EXPECT_EQ(read.title, "Test Tone");
}

TEST_F(Id3TagTest, RemovingATagLeavesTheOtherAndTheAudioAndAMissingFileIsNotCreated) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(m_picture));
    std::string block = Block(ReadFile(m_mp3));
    EXPECT_EQ(RemoveId3Tag(m_mp3.c_str(), ID3TT_ID3V2), 1);
    EXPECT_TRUE(ReadFile(m_mp3) == m_audio + block);
    EXPECT_EQ(RemoveId3Tag(m_mp3.c_str(), ID3TT_ID3V1), 1);
    EXPECT_TRUE(ReadFile(m_mp3) == m_audio);

    std::string missing = m_folder / "missing.mp3";
    EXPECT_EQ(WriteId3Tag(missing.c_str(), ID3TT_ID3V2, FullTags(m_picture)), 1);
    EXPECT_EQ(WriteId3Tag(missing.c_str(), ID3TT_ID3V1, FullTags(m_picture)), 1);
    EXPECT_EQ(RemoveId3Tag(missing.c_str(), ID3TT_ID3V2), 1);
    TrackTags read = FullTags("");
    EXPECT_EQ(ReadId3Tag(missing.c_str(), ID3TT_ID3V2, read), 1);
    EXPECT_EQ(read.title, "Test Tone") << "nothing to read, nothing changed";
    EXPECT_FALSE(FileExists(missing));
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
