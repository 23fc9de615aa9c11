#include "tests/deps/DepsSupport.h"
#include "tests/support/Mp3FileLayout.h"
#include "tests/support/TestSupport.h"

#include <id3/tag.h>

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

struct TextFrame {
    ID3_FrameID id;
    const char* text;
};

// The same values are in check_mp3.py.
constexpr TextFrame kTextFrames[] = {
    {ID3FID_TITLE, "Test Tone"},
    {ID3FID_LEADARTIST, "Quaverlane"},
    {ID3FID_ALBUM, "Dependency Check"},
    {ID3FID_YEAR, "2024"},
    {ID3FID_TRACKNUM, "7"},
};
constexpr const char* kComment = "440 Hz left, 660 Hz right";

// Every byte value occurs, zero and 0xFF included, so nothing on the way may treat it as text.
std::string Picture() {
    std::string picture(400, '\0');
    for (size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<char>((i * 37 + 11) % 256);
    }
    return picture;
}

std::string Text(const ID3_Tag& tag, ID3_FrameID id, ID3_FieldID field = ID3FN_TEXT) {
    const ID3_Frame* frame = tag.Find(id);
    if (frame == nullptr || frame->GetField(field) == nullptr) {
        return "<no frame>";
    }
    const char* text = frame->GetField(field)->GetRawText();
    return text != nullptr ? text : "<no text>";
}

void WriteTag(const std::string& path) {
    ID3_Tag tag;
    tag.Link(path.c_str(), ID3TT_ID3V2 | ID3TT_ID3V1);
    for (const TextFrame& text : kTextFrames) {
        ID3_Frame frame(text.id);
        frame.GetField(ID3FN_TEXT)->Set(text.text);
        tag.AddFrame(frame);
    }
    ID3_Frame comment(ID3FID_COMMENT);
    comment.GetField(ID3FN_LANGUAGE)->Set("eng");
    comment.GetField(ID3FN_TEXT)->Set(kComment);
    tag.AddFrame(comment);

    std::string picture = Picture();
    ID3_Frame apic(ID3FID_PICTURE);
    apic.GetField(ID3FN_MIMETYPE)->Set("image/jpeg");
    apic.GetField(ID3FN_PICTURETYPE)->Set(ID3PT_COVERFRONT);
    apic.GetField(ID3FN_DESCRIPTION)->Set("Cover");
    apic.GetField(ID3FN_DATA)->Set(reinterpret_cast<const uchar*>(picture.data()), picture.size());
    tag.AddFrame(apic);

    EXPECT_EQ(tag.Update(ID3TT_ID3V2 | ID3TT_ID3V1), static_cast<flags_t>(ID3TT_ID3V2 | ID3TT_ID3V1));
}

size_t SyncSafe(const std::string& bytes, size_t at) {
    size_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 7) | (static_cast<unsigned char>(bytes[at + i]) & 0x7F);
    }
    return value;
}

} // namespace

TEST(Id3Lib, TagsWrittenToAnEncodedFileReadBackAndLeaveTheAudioAlone) {
    LameDll lame;
    TestFolder folder;
    std::string encoded = folder / "tone.mp3";
    std::string tagged = folder / "tagged.mp3";
    ASSERT_NO_FATAL_FAILURE(EncodeTone(lame, encoded));
    ASSERT_TRUE(CopyFileA(encoded.c_str(), tagged.c_str(), FALSE));

    WriteTag(tagged);
    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(tagged, "tagged.mp3"));

    ID3_Tag v2;
    v2.Link(tagged.c_str(), ID3TT_ID3V2);
    ASSERT_TRUE(v2.HasTagType(ID3TT_ID3V2));
    for (const TextFrame& text : kTextFrames) {
        EXPECT_EQ(Text(v2, text.id), text.text) << "ID3v2";
    }
    EXPECT_EQ(Text(v2, ID3FID_COMMENT), kComment);
    EXPECT_EQ(Text(v2, ID3FID_COMMENT, ID3FN_LANGUAGE), "eng");
    const ID3_Frame* apic = v2.Find(ID3FID_PICTURE);
    ASSERT_NE(apic, nullptr);
    EXPECT_EQ(Text(v2, ID3FID_PICTURE, ID3FN_MIMETYPE), "image/jpeg");
    EXPECT_EQ(apic->GetField(ID3FN_PICTURETYPE)->Get(), static_cast<uint32>(ID3PT_COVERFRONT));
    EXPECT_EQ(Text(v2, ID3FID_PICTURE, ID3FN_DESCRIPTION), "Cover");
    const ID3_Field* data = apic->GetField(ID3FN_DATA);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data->GetRawBinary()), data->Size()), Picture());

    ID3_Tag v1;
    v1.Link(tagged.c_str(), ID3TT_ID3V1);
    ASSERT_TRUE(v1.HasTagType(ID3TT_ID3V1));
    for (const TextFrame& text : kTextFrames) {
        EXPECT_EQ(Text(v1, text.id), text.text) << "ID3v1";
    }
    EXPECT_EQ(Text(v1, ID3FID_COMMENT), kComment);

    std::string original = ReadFile(encoded);
    std::string bytes = ReadFile(tagged);
    ASSERT_GT(bytes.size(), original.size() + 10 + 128);
    ASSERT_EQ(bytes.substr(0, 3), "ID3");
    size_t audioStart = 10 + SyncSafe(bytes, 6);
    EXPECT_EQ(v2.GetPrependedBytes(), audioStart);
    EXPECT_TRUE(IsAudioBetweenTags(bytes, original));
}
