#include "app/LanguageChoice.h"
#include "app/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

TEST(StartupRepairs, EmptyLanguageAndFilenameFormatGetTheDefaults) {
    Settings settings;
    settings.languageAuto = 0;
    settings.languageFile.clear();
    settings.filenameFormat.clear();
    RepairStartupSettings(settings);
    EXPECT_EQ(settings.languageAuto, 1);
    EXPECT_EQ(settings.languageFile, "lang_eng.ini");
    EXPECT_EQ(settings.filenameFormat, "<Playlist>\\<Title>");

    settings.languageAuto = 0;
    settings.languageFile = "lang_fra.ini";
    settings.filenameFormat = "<Artist> - <Title>";
    RepairStartupSettings(settings);
    EXPECT_EQ(settings.languageAuto, 0);
    EXPECT_EQ(settings.languageFile, "lang_fra.ini");
    EXPECT_EQ(settings.filenameFormat, "<Artist> - <Title>");
}

class LanguageFileChoice : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA((program / "lang").c_str(), nullptr);
        WriteFile(program / "lang\\language_lookup.ini",
                  "[LANGUAGE]\r\n0x0411=Lang_jpn.ini\r\n0x040C=lang_fra.ini\r\n");
    }

    std::string Chosen(int32_t languageAuto, const std::string& stored, LANGID system) const {
        Settings settings;
        settings.languageAuto = languageAuto;
        settings.languageFile = stored;
        ChooseLanguageFile(settings, program.Path(), system);
        return settings.languageFile;
    }

    TestFolder program;
};

TEST_F(LanguageFileChoice, AutomaticTakesTheLookupLineForTheSystemLanguage) {
    EXPECT_EQ(Chosen(1, "lang_eng.ini", 0x040C), "lang_fra.ini") << "the key in upper-case hex digits";
    EXPECT_EQ(Chosen(1, "lang_fra.ini", 0x0407), "lang_fra.ini") << "no line for German";
}

TEST_F(LanguageFileChoice, AutomaticWithoutALookupFileKeepsTheStoredFile) {
    TestFolder bare;
    Settings settings;
    settings.languageFile = "lang_fra.ini";
    ChooseLanguageFile(settings, bare.Path(), 0x0411);
    EXPECT_EQ(settings.languageFile, "lang_fra.ini");
}

TEST_F(LanguageFileChoice, ManualKeepsTheStoredFileAndOnlyFillsAnEmptyOne) {
    EXPECT_EQ(Chosen(0, "", 0x0411), "lang_eng.ini");
    EXPECT_EQ(Chosen(0, "lang_fra.ini", 0x0411), "lang_fra.ini");
}
