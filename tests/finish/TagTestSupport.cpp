#include "tests/finish/TagTestSupport.h"

namespace qvltest {

std::string CoverPicture() {
    // The same bytes are made by check_tags.py.
    std::string picture("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11);
    for (int i = 0; i < 400; ++i) {
        picture += static_cast<char>((i * 37 + 11) % 256);
    }
    return picture + "\xFF\xD9";
}

TrackTags FullTags(const std::string& artworkPath) {
    // The same values are in check_tags.py.
    TrackTags tags;
    tags.trackNumber = 7;
    tags.partOfSet = "1/2";
    tags.title = "Test Tone";
    tags.artist = "Quaverlane";
    tags.album = "Tag Check";
    tags.year = "2024";
    tags.comment = "440 Hz left, 660 Hz right";
    tags.genreText = "Jazz";
    tags.genre = "Rock";
    tags.genreId = 8;
    tags.composer = "Clara Composer";
    tags.originalArtist = "The Originals";
    tags.copyright = "2024 Quaverlane";
    tags.url = "http://quaverlane.example/track7";
    tags.encodedBy = "Quaverlane 1.0";
    tags.artworkPath = artworkPath;
    tags.publisher = "Quaverlane Records";
    tags.albumArtist = "Various Artists";
    for (TagString& extra : tags.extraStrings) {
        extra = "not a tag";
    }
    return tags;
}

std::optional<std::string> RawFieldText(const std::string& path, ID3_TagType version, ID3_FrameID id,
                                        ID3_FieldID field) {
    ID3_Tag tag;
    tag.Link(path.c_str(), version);
    const ID3_Frame* frame = tag.Find(id);
    if (frame == nullptr || frame->GetField(field) == nullptr) {
        return std::nullopt;
    }
    const ID3_Field* text = frame->GetField(field);
    if (text->GetEncoding() == ID3TE_UTF16) {
        return std::string(reinterpret_cast<const char*>(text->GetRawUnicodeText()), text->Size());
    }
    return std::string(text->GetRawText() != nullptr ? text->GetRawText() : "");
}

void WriteUnicodeFrame(const std::string& path, ID3_FrameID id, const std::wstring& text) {
    std::vector<unicode_t> bigEndian;
    for (wchar_t c : text) {
        bigEndian.push_back(static_cast<unicode_t>((c << 8) | ((c >> 8) & 0xFF)));
    }
    bigEndian.push_back(0);
    ID3_Tag tag;
    tag.Link(path.c_str(), ID3TT_ID3V2);
    ID3_Frame frame(id);
    frame.GetField(ID3FN_TEXTENC)->Set(ID3TE_UTF16);
    frame.GetField(ID3FN_TEXT)->SetEncoding(ID3TE_UTF16);
    frame.GetField(ID3FN_TEXT)->Set(bigEndian.data());
    tag.AddFrame(frame);
    tag.Update(ID3TT_ID3V2);
}

std::string Ansi(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string ansi(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), length, nullptr,
                        nullptr);
    return ansi;
}

void Mp3FileTest::SetUp() {
    LameDll lame;
    ASSERT_NO_FATAL_FAILURE(EncodeTone(lame, m_mp3));
    m_audio = ReadFile(m_mp3);
    WriteFile(m_picture, CoverPicture());
}

std::string Block(const std::string& bytes) {
    return bytes.size() >= 128 ? bytes.substr(bytes.size() - 128) : std::string();
}

std::string Padded(const std::string& text, size_t width) {
    return text + std::string(width - text.size(), '\0');
}

testing::AssertionResult HoldsFullTagsVersion1(const std::string& block) {
    struct Field {
        size_t offset;
        std::string bytes;
    };
    const Field fields[] = {{0, "TAG"},
                            {3, Padded("Test Tone", 30)},
                            {33, Padded("Quaverlane", 30)},
                            {63, Padded("Tag Check", 30)},
                            {93, "2024"},
                            {97, Padded("440 Hz left, 660 Hz right", 29)},
                            {126, std::string(1, 7)},
                            {127, std::string(1, 17)}};
    if (block.size() != 128) {
        return testing::AssertionFailure() << "no 128-byte block";
    }
    for (const Field& field : fields) {
        if (block.compare(field.offset, field.bytes.size(), field.bytes) != 0) {
            return testing::AssertionFailure()
                   << "at byte " << field.offset << ": "
                   << testing::PrintToString(block.substr(field.offset, field.bytes.size()));
        }
    }
    return testing::AssertionSuccess();
}

} // namespace qvltest
