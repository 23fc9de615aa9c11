#include "finish/Id3Tag.h"

#include "app/AppFolders.h"
#include "app/FolderTree.h"
#include "tests/finish/TagTestSupport.h"

#include "tests/support/Mp3FileLayout.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

struct ExpectedFrame {
    ID3_FrameID id;
    ID3_FieldID field;
    const char* text;
};

// FullTags as each ID3v2 frame must carry it.
constexpr ExpectedFrame kVersion2Frames[] = {
    {ID3FID_TITLE, ID3FN_TEXT, "Test Tone"},
    {ID3FID_ALBUM, ID3FN_TEXT, "Tag Check"},
    {ID3FID_LEADARTIST, ID3FN_TEXT, "Quaverlane"},
    {ID3FID_COMMENT, ID3FN_TEXT, "440 Hz left, 660 Hz right"},
    {ID3FID_YEAR, ID3FN_TEXT, "2024"},
    {ID3FID_CONTENTTYPE, ID3FN_TEXT, "Rock"},
    {ID3FID_TRACKNUM, ID3FN_TEXT, "7"},
    {ID3FID_ORIGARTIST, ID3FN_TEXT, "The Originals"},
    {ID3FID_PUBLISHER, ID3FN_TEXT, "Quaverlane Records"},
    {ID3FID_WWWUSER, ID3FN_URL, "http://quaverlane.example/track7"},
    {ID3FID_BAND, ID3FN_TEXT, "Various Artists"},
    {ID3FID_COPYRIGHT, ID3FN_TEXT, "2024 Quaverlane"},
    {ID3FID_COMPOSER, ID3FN_TEXT, "Clara Composer"},
    {ID3FID_ENCODEDBY, ID3FN_TEXT, "Quaverlane 1.0"},
    {ID3FID_PARTINSET, ID3FN_TEXT, "1/2"},
};

// Texts that must never reach a tag: the fields without a frame, and the ID3v2-only fields in ID3v1.
constexpr const char* kUnwrittenTexts[] = {"Jazz", "not a tag"};
constexpr const char* kVersion2OnlyTexts[] = {
    "The Originals",   "Quaverlane Records", "quaverlane.example", "Various Artists",
    "2024 Quaverlane", "Clara Composer",     "Quaverlane 1.0",     "1/2",
    "cover picture"};

std::string BigEndianUtf16(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text) {
        bytes += static_cast<char>(c >> 8);
        bytes += static_cast<char>(c & 0xFF);
    }
    return bytes;
}

struct Picture {
    std::string mime;
    std::string description;
    uint32 type = 0;
    std::string data;
    size_t count = 0;
};

Picture ReadPicture(const std::string& path) {
    ID3_Tag tag;
    tag.Link(path.c_str(), ID3TT_ID3V2);
    Picture picture;
    std::unique_ptr<ID3_Tag::Iterator> frames(tag.CreateIterator());
    for (const ID3_Frame* frame = frames->GetNext(); frame != nullptr; frame = frames->GetNext()) {
        picture.count += frame->GetID() == ID3FID_PICTURE ? 1 : 0;
    }
    const ID3_Frame* frame = tag.Find(ID3FID_PICTURE);
    if (frame == nullptr) {
        return picture;
    }
    picture.mime = frame->GetField(ID3FN_MIMETYPE)->GetRawText();
    picture.description = frame->GetField(ID3FN_DESCRIPTION)->GetRawText();
    picture.type = frame->GetField(ID3FN_PICTURETYPE)->Get();
    const ID3_Field* data = frame->GetField(ID3FN_DATA);
    picture.data.assign(reinterpret_cast<const char*>(data->GetRawBinary()), data->Size());
    return picture;
}

// ReadId3Tag saves pictures in the default capture folder, which the program makes at start-up.
class ArtworkFile {
public:
    ArtworkFile() : m_folderWasThere(FolderExists(DefaultCaptureFolder())) {
        CreateFolderTree(DefaultCaptureFolder());
        DeleteFileA(m_path.c_str());
    }
    ~ArtworkFile() {
        DeleteFileA(m_path.c_str());
        if (!m_folderWasThere) {
            RemoveDirectoryA(DefaultCaptureFolder().c_str());
        }
    }
    ArtworkFile(const ArtworkFile&) = delete;
    ArtworkFile& operator=(const ArtworkFile&) = delete;

    const std::string& Path() const { return m_path; }

private:
    bool m_folderWasThere;
    std::string m_path = DefaultCaptureFolder() + "\\id3tag_artwork.jpg";
};

class Id3TagTest : public Mp3FileTest {};

} // namespace

TEST_F(Id3TagTest, Version2CarriesEveryMappedFieldInLatin1AndNothingElse) {
    EXPECT_EQ(WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture)), 1);

    for (const ExpectedFrame& frame : kVersion2Frames) {
        EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, frame.id, frame.field), frame.text) << frame.text;
        EXPECT_EQ(FrameEncoding(m_mp3, frame.id), ID3TE_ISO8859_1) << frame.text;
    }
    std::string bytes = ReadFile(m_mp3);
    for (const char* text : kUnwrittenTexts) {
        EXPECT_EQ(bytes.find(text), std::string::npos) << text;
    }
    EXPECT_NE(Block(bytes).substr(0, 3), "TAG") << "no ID3v1 tag";
}

TEST_F(Id3TagTest, Version2IsWrittenUnsynchronisedWithoutPaddingBeforeTheUntouchedAudio) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));

    std::string bytes = ReadFile(m_mp3);
    std::optional<Id3v2Header> header = ReadId3v2Header(bytes);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->majorVersion, 3);
    EXPECT_EQ(header->flags & 0x80, 0x80) << "the picture's markers need unsynchronisation";
    EXPECT_NE(bytes.find(std::string("\xFF\x00\xE0", 3)), std::string::npos) << "escaped in the file";
    EXPECT_TRUE(FramesFillTheTag(bytes, *header));
    EXPECT_TRUE(bytes.substr(10 + header->size) == m_audio);

    // Rewriting a tag that shrinks must not leave the room it had as padding either.
    TrackTags shorter = FullTags("");
    shorter.comment = "";
    shorter.composer = "";
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, shorter);
    std::string rewritten = ReadFile(m_mp3);
    header = ReadId3v2Header(rewritten);
    ASSERT_TRUE(header.has_value());
    EXPECT_TRUE(FramesFillTheTag(rewritten, *header));
    EXPECT_TRUE(rewritten.substr(10 + header->size) == m_audio);
}

TEST_F(Id3TagTest, Version1CarriesTheSevenFieldsWithTheGenreByNumber) {
    EXPECT_EQ(WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(m_picture)), 1);

    std::string bytes = ReadFile(m_mp3);
    ASSERT_EQ(bytes.size(), m_audio.size() + 128);
    EXPECT_TRUE(bytes.compare(0, m_audio.size(), m_audio) == 0) << "the audio is untouched";
    EXPECT_FALSE(ReadId3v2Header(bytes).has_value()) << "no ID3v2 tag";
    EXPECT_TRUE(HoldsFullTagsVersion1(Block(bytes)));
    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V1, ID3FID_CONTENTTYPE), "(17)");
    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V1, ID3FID_TRACKNUM), "7");
    for (const char* text : kVersion2OnlyTexts) {
        EXPECT_EQ(bytes.find(text), std::string::npos) << text;
    }
    for (const char* text : kUnwrittenTexts) {
        EXPECT_EQ(bytes.find(text), std::string::npos) << text;
    }
}

TEST_F(Id3TagTest, Version1GenreIsTheListNumberAndVersion2KeepsTheText) {
    struct Case {
        const char* genre;
        int number;
    };
    for (const Case& c : {Case{"Rock", 17}, Case{"rOCK", 17}, Case{"ROCK", 17}, Case{"Pop", 13},
                          Case{"Nu Jazz", 12}, Case{"(13)", 13}}) {
        WriteFile(m_mp3, m_audio);
        TrackTags tags = FullTags("");
        tags.genre = c.genre;
        WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, tags);
        WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, tags);

        EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V1, ID3FID_CONTENTTYPE), "(" + std::to_string(c.number) + ")")
            << c.genre;
        EXPECT_EQ(Block(ReadFile(m_mp3))[127], c.number) << c.genre;
        EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_CONTENTTYPE), c.genre);
    }
}

TEST_F(Id3TagTest, AnEmptyFieldRemovesItsFrame) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(m_picture));
    TrackTags untitled = FullTags("");
    untitled.title = "";
    untitled.composer = "";
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, untitled);
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, untitled);

    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_TITLE), std::nullopt);
    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_COMPOSER), std::nullopt);
    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_LEADARTIST), "Quaverlane");
    EXPECT_EQ(ReadPicture(m_mp3).data, CoverPicture()) << "an empty artwork path leaves the picture alone";
    std::string block = Block(ReadFile(m_mp3));
    EXPECT_EQ(block.substr(3, 30), std::string(30, '\0'));
    EXPECT_EQ(block.substr(33, 30), Padded("Quaverlane", 30));
}

TEST_F(Id3TagTest, AFrameInUnicodeKeepsItsEncodingAndNewFramesAreLatin1) {
    const std::wstring title = L"Caf\u00e9 Cr\u00e8me";
    ASSERT_EQ(Ansi(title).size(), title.size()) << "the code page holds the accents";
    WriteUnicodeFrame(m_mp3, ID3FID_TITLE, L"Old Title");
    ASSERT_EQ(FrameEncoding(m_mp3, ID3FID_TITLE), ID3TE_UTF16);

    TrackTags tags = FullTags("");
    tags.title = Ansi(title);
    tags.album = Ansi(L"Cr\u00e8me Album");
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, tags);

    EXPECT_EQ(FrameEncoding(m_mp3, ID3FID_TITLE), ID3TE_UTF16);
    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_TITLE), BigEndianUtf16(title));
    EXPECT_EQ(FrameEncoding(m_mp3, ID3FID_ALBUM), ID3TE_ISO8859_1);
    EXPECT_EQ(RawFieldText(m_mp3, ID3TT_ID3V2, ID3FID_ALBUM), Ansi(L"Cr\u00e8me Album"));

    TrackTags read;
    ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V2, read);
    EXPECT_EQ(read.title, Ansi(title)) << "Unicode text comes back in the code page";
    EXPECT_EQ(read.album, Ansi(L"Cr\u00e8me Album"));
}

TEST_F(Id3TagTest, ThePictureIsACoverPictureOfTypeOneWithTheFileBytes) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    Picture picture = ReadPicture(m_mp3);
    EXPECT_EQ(picture.count, 1u);
    EXPECT_EQ(picture.mime, "image/jpeg");
    EXPECT_EQ(picture.type, 1u);
    EXPECT_EQ(picture.description, "cover picture");
    EXPECT_TRUE(picture.data == CoverPicture());

    std::string other = m_folder / "other.jpg";
    WriteFile(other, "\xFF\xD8 another picture \xFF\xD9");
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(other));
    picture = ReadPicture(m_mp3);
    EXPECT_EQ(picture.count, 1u) << "the picture is replaced, not added";
    EXPECT_EQ(picture.data, "\xFF\xD8 another picture \xFF\xD9");

    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_folder / "missing.jpg"));
    picture = ReadPicture(m_mp3);
    EXPECT_EQ(picture.count, 1u);
    EXPECT_EQ(picture.data, "") << "a picture file that is not there gives an empty picture";
}

TEST_F(Id3TagTest, Version2ThenVersion1FrameTheAudio) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(m_picture));

    std::string bytes = ReadFile(m_mp3);
    std::optional<Id3v2Header> header = ReadId3v2Header(bytes);
    ASSERT_TRUE(header.has_value());
    EXPECT_TRUE(FramesFillTheTag(bytes, *header));
    EXPECT_TRUE(IsAudioBetweenTags(bytes, m_audio));
}

TEST_F(Id3TagTest, ReadingGivesBackWhatWasWrittenWithTheHeaderAndThePicture) {
    ArtworkFile artwork;
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(m_picture));

    TrackTags read;
    Mp3_Headerinfo header{};
    EXPECT_EQ(ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V2, read, &header), 1);
    TrackTags expected = FullTags(artwork.Path());
    for (TagString TrackTags::*field :
         {&TrackTags::partOfSet, &TrackTags::title, &TrackTags::artist, &TrackTags::album, &TrackTags::year,
          &TrackTags::comment, &TrackTags::genre, &TrackTags::composer, &TrackTags::originalArtist,
          &TrackTags::copyright, &TrackTags::url, &TrackTags::encodedBy, &TrackTags::artworkPath,
          &TrackTags::publisher, &TrackTags::albumArtist}) {
        EXPECT_EQ(read.*field, (expected.*field).c_str());
    }
    EXPECT_EQ(read.trackNumber, 7);
    EXPECT_TRUE(ReadFile(artwork.Path()) == CoverPicture());
    EXPECT_EQ(header.layer, MPEGLAYER_III);
    EXPECT_EQ(header.version, MPEGVERSION_1);
    EXPECT_EQ(header.bitrate, MP3BITRATE_128K);
    EXPECT_EQ(header.frequency, 44100u);
    EXPECT_EQ(header.channelmode, MP3CHANNELMODE_STEREO);

    TrackTags version1 = FullTags("");
    version1.composer = "kept";
    ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V1, version1);
    EXPECT_EQ(version1.title, "Test Tone");
    EXPECT_EQ(version1.artist, "Quaverlane");
    EXPECT_EQ(version1.album, "Tag Check");
    EXPECT_EQ(version1.year, "2024");
    EXPECT_EQ(version1.comment, "440 Hz left, 660 Hz right");
    EXPECT_EQ(version1.genre, "(17)");
    EXPECT_EQ(version1.trackNumber, 7);
    EXPECT_EQ(version1.composer, "kept") << "ID3v1 has no composer to read";
}

// Linked for ID3v1 alone, id3lib does not step over an ID3v2 tag to find the audio, so callers take
// the header from the ID3v2 read; a file with only an ID3v1 tag gives it with the ID3v1 read.
TEST_F(Id3TagTest, ReadingVersion1GivesTheHeaderOfAFileWithoutVersion2) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(""));
    TrackTags read;
    Mp3_Headerinfo header{};
    ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V1, read, &header);
    EXPECT_EQ(header.layer, MPEGLAYER_III);
    EXPECT_EQ(header.frequency, 44100u);
    EXPECT_EQ(read.title, "Test Tone");
}

TEST_F(Id3TagTest, ReadingATagWithoutAFrameEmptiesItsField) {
    TrackTags sparse;
    sparse.title = "Only A Title";
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, sparse);

    TrackTags read = FullTags(m_picture);
    ReadId3Tag(m_mp3.c_str(), ID3TT_ID3V2, read);
    EXPECT_EQ(read.title, "Only A Title");
    EXPECT_EQ(read.artist, "");
    EXPECT_EQ(read.url, "");
    EXPECT_EQ(read.trackNumber, 0);
    EXPECT_EQ(read.artworkPath, "") << "no picture, and none named";
}

TEST_F(Id3TagTest, RemovingATagLeavesTheOtherAndTheAudio) {
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V2, FullTags(m_picture));
    WriteId3Tag(m_mp3.c_str(), ID3TT_ID3V1, FullTags(m_picture));
    std::string block = Block(ReadFile(m_mp3));

    EXPECT_EQ(RemoveId3Tag(m_mp3.c_str(), ID3TT_ID3V2), 1);
    EXPECT_TRUE(ReadFile(m_mp3) == m_audio + block);

    EXPECT_EQ(RemoveId3Tag(m_mp3.c_str(), ID3TT_ID3V1), 1);
    EXPECT_TRUE(ReadFile(m_mp3) == m_audio);
}

TEST_F(Id3TagTest, AMissingFileIsNotCreated) {
    std::string missing = m_folder / "missing.mp3";
    EXPECT_EQ(WriteId3Tag(missing.c_str(), ID3TT_ID3V2, FullTags(m_picture)), 1);
    EXPECT_EQ(WriteId3Tag(missing.c_str(), ID3TT_ID3V1, FullTags(m_picture)), 1);
    EXPECT_EQ(RemoveId3Tag(missing.c_str(), ID3TT_ID3V2), 1);
    TrackTags read = FullTags("");
    EXPECT_EQ(ReadId3Tag(missing.c_str(), ID3TT_ID3V2, read), 1);
    EXPECT_EQ(read.title, "Test Tone") << "nothing to read, nothing changed";
    EXPECT_FALSE(FileExists(missing));
}

TEST_F(Id3TagTest, ClearingEmptiesEveryFieldAndZeroesTheNumbers) {
    TrackTags tags = FullTags(m_picture);
    ClearTrackTags(tags);
    EXPECT_EQ(tags.trackNumber, 0);
    EXPECT_EQ(tags.genreId, 0);
    for (TagString TrackTags::*field :
         {&TrackTags::partOfSet, &TrackTags::title, &TrackTags::artist, &TrackTags::album, &TrackTags::year,
          &TrackTags::comment, &TrackTags::genreText, &TrackTags::genre, &TrackTags::composer,
          &TrackTags::originalArtist, &TrackTags::copyright, &TrackTags::url, &TrackTags::encodedBy,
          &TrackTags::artworkPath, &TrackTags::publisher, &TrackTags::albumArtist}) {
        EXPECT_TRUE((tags.*field).empty());
    }
    for (const TagString& extra : tags.extraStrings) {
        EXPECT_TRUE(extra.empty());
    }
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
