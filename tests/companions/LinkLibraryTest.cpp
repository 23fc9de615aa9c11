#include "app/LanguageChoice.h"
#include "app/LinkLibrary.h"

#include <gtest/gtest.h>

namespace {

bool IsWebAddress(const std::string& address) {
    return address.starts_with("http://") || address.starts_with("https://");
}

} // namespace

TEST(LinkLibrary, TheAddressFollowsTheLanguageAndOnlyAJapaneseLanguageFileIsPassedOn) {
    LinkLibrary::SetLanguage("English");
    std::string english = LinkLibrary::ProductWebAddress();
    EXPECT_TRUE(IsWebAddress(english)) << english;
    LinkLibrary::SetLanguage("Klingon");
    EXPECT_EQ(LinkLibrary::ProductWebAddress(), english) << "an unknown language gives English";

    PassLanguageToLinkLibrary("LANG_JPN.INI");
    std::string japanese = LinkLibrary::ProductWebAddress();
    EXPECT_TRUE(IsWebAddress(japanese)) << japanese;
    EXPECT_NE(japanese, english);
    PassLanguageToLinkLibrary("lang_fra.ini");
    EXPECT_EQ(LinkLibrary::ProductWebAddress(), japanese) << "another file changes nothing";
}
