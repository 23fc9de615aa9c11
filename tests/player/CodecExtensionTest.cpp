// The decoders' extension lists.
#include "player/Modules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Listed(const CodecModule& codec) {
    std::string text;
    for (const CodecExtension* item = codec.extensions; item != nullptr; item = item->next) {
        text += std::string(item->text) + "=" + std::to_string(item->userValue) + ";";
    }
    return text;
}

TEST(CodecExtensions, AnExtensionListedInAnyCaseIsNotAddedAgain) {
    // Catches: duplicates that would register one extension twice with the shell.
    CodecModule codec{};
    AddCodecExtension(codec, "MP3", 1);
    AddCodecExtension(codec, "mp3", 2);
    AddCodecExtension(codec, "Mp2", 3);
    AddCodecExtension(codec, "", 4);
    EXPECT_EQ(Listed(codec), "MP3=1;Mp2=3;");
    FreeCodecExtensions(codec);
    EXPECT_EQ(codec.extensions, nullptr);
}

TEST(CodecExtensions, LongTextIsCutToTheField) {
    // Catches: a copy that overruns the 16-character field.
    CodecModule codec{};
    AddCodecExtension(codec, "abcdefghijklmnopqrstuvwxyz", 0);
    ASSERT_NE(codec.extensions, nullptr);
    EXPECT_STREQ(codec.extensions->text, "abcdefghijklmno");
    FreeCodecExtensions(codec);
}

} // namespace
