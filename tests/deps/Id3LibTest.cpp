// One look at id3lib as the program uses it: frames and a picture written into both tags of an
// encoded file, read back, with the audio left alone between them.
#include "tests/deps/DepsSupport.h"
#include "tests/support/Mp3FileLayout.h"
#include "tests/support/TestSupport.h"

#include <id3/tag.h>

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

std::string Text(const ID3_Tag& tag, ID3_FrameID id, ID3_FieldID field = ID3FN_TEXT) {
    const ID3_Frame* frame = tag.Find(id);
    const char* text = frame != nullptr ? frame->GetField(field)->GetRawText() : nullptr;
    return text != nullptr ? text : "<none>";
}

} // namespace

TEST(Id3Lib, TagsWrittenToAnEncodedFileReadBackAndLeaveTheAudioAlone) {
    LameDll lame;
    TestFolder folder;
    std::string path = folder / "tone.mp3";
    ASSERT_NO_FATAL_FAILURE(EncodeTone(lame, path));
    std::string audio = ReadFile(path);
    // Every byte value occurs, zero and 0xFF included, so nothing on the way may treat it as text.
    std::string picture(400, '\0');
    for (size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<char>((i * 37 + 11) % 256);
    }
    {
        ID3_Tag tag;
        tag.Link(path.c_str(), ID3TT_ID3V2 | ID3TT_ID3V1);
        ID3_Frame title(ID3FID_TITLE);
        title.GetField(ID3FN_TEXT)->Set("Test Tone");
        tag.AddFrame(title);
        ID3_Frame apic(ID3FID_PICTURE);
        apic.GetField(ID3FN_MIMETYPE)->Set("image/jpeg");
        apic.GetField(ID3FN_DATA)->Set(reinterpret_cast<const uchar*>(picture.data()), picture.size());
        tag.AddFrame(apic);
        EXPECT_EQ(tag.Update(ID3TT_ID3V2 | ID3TT_ID3V1), static_cast<flags_t>(ID3TT_ID3V2 | ID3TT_ID3V1));
    }

    ID3_Tag v2;
    v2.Link(path.c_str(), ID3TT_ID3V2);
    EXPECT_EQ(Text(v2, ID3FID_TITLE), "Test Tone");
    EXPECT_EQ(Text(v2, ID3FID_PICTURE, ID3FN_MIMETYPE), "image/jpeg");
    const ID3_Frame* apic = v2.Find(ID3FID_PICTURE);
    ASSERT_NE(apic, nullptr);
    const ID3_Field* data = apic->GetField(ID3FN_DATA);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data->GetRawBinary()), data->Size()), picture);
    ID3_Tag v1;
    v1.Link(path.c_str(), ID3TT_ID3V1);
    EXPECT_EQ(Text(v1, ID3FID_TITLE), "Test Tone");
    EXPECT_TRUE(IsAudioBetweenTags(ReadFile(path), audio));
}
