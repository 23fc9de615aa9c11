#include "app/LanguageChoice.h"
#include "app/LinkLibrary.h"

#include <gtest/gtest.h>

namespace {

bool IsWebAddress(const std::string& address) {
    return address.starts_with("http://") || address.starts_with("https://");
}

} // namespace

TEST(LinkLibrary, ProductAddressFollowsTheChosenLanguage) {
    LinkLibrary::SetLanguage("English");
    std::string english = LinkLibrary::ProductWebAddress();
    EXPECT_TRUE(IsWebAddress(english)) << english;

    LinkLibrary::SetLanguage("Japanese");
    std::string japanese = LinkLibrary::ProductWebAddress();
    EXPECT_TRUE(IsWebAddress(japanese)) << japanese;
    EXPECT_NE(japanese, english);

    LinkLibrary::SetLanguage("Klingon");
    EXPECT_EQ(LinkLibrary::ProductWebAddress(), english) << "an unknown language gives English";
}

TEST(LinkLibrary, OnlyTheJapaneseLanguageFileIsPassedOn) {
    LinkLibrary::SetLanguage("Japanese");
    std::string japanese = LinkLibrary::ProductWebAddress();
    LinkLibrary::SetLanguage("English");
    std::string english = LinkLibrary::ProductWebAddress();
    ASSERT_NE(japanese, english);

    PassLanguageToLinkLibrary("LANG_JPN.INI");
    EXPECT_EQ(LinkLibrary::ProductWebAddress(), japanese);
    PassLanguageToLinkLibrary("lang_eng.ini");
    EXPECT_EQ(LinkLibrary::ProductWebAddress(), japanese) << "an English file changes nothing";
    PassLanguageToLinkLibrary("lang_fra.ini");
    EXPECT_EQ(LinkLibrary::ProductWebAddress(), japanese);

    LinkLibrary::SetLanguage("English");
    PassLanguageToLinkLibrary("Lang_jpn.ini");
    EXPECT_EQ(LinkLibrary::ProductWebAddress(), japanese);
}
