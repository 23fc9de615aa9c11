#include "app/LanguageMenu.h"
#include "app/Localisation.h"
#include "app/Settings.h"
#include "app/framework/Dialog.h"
#include "app/framework/GdiScoped.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

constexpr int kTestDialog = 100;
constexpr int kTestMenu = 200;

class PlainDialog final : public CDialogBase {};

std::string TextOf(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string MenuText(HMENU menu, UINT position) {
    char text[256] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

} // namespace

TEST(Localisation, EscapesAreLineFeedsEverywhereAndTabsOnlyOutsideControlTexts) {
    TestFolder folder;
    WriteFile(folder / "lang.ini",
              "[STRING]\r\n101=One\\nTwo\\tThree\r\n"
              "[DIALOG_IDD_100]\r\ntitle=Caption\\tTabbed\r\n1001=Line\\nBreak\\tKept\r\n"
              "[DICTIONARY]\r\nStop=Halt\\n\r\n");
    CLanguageFile language(folder / "lang.ini");
    EXPECT_EQ(language.String(101), "One\nTwo\tThree");
    EXPECT_EQ(language.Translate("Stop"), "Halt\\n") << "dictionary values are used as read";
    EXPECT_EQ(language.Translate("Play"), "Play");

    PlainDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(GetModuleHandleA(nullptr), kTestDialog, nullptr));
    language.LocaliseDialog(dialog.Hwnd(), kTestDialog);
    EXPECT_EQ(TextOf(dialog.Hwnd()), "Caption\tTabbed");
    EXPECT_EQ(TextOf(dialog.Item(1001)), "Line\nBreak\\tKept") << "a control text takes the line feed only";
    EXPECT_EQ(TextOf(dialog.Item(1003)), "Act") << "a control without a value keeps its text";
}

TEST(Localisation, WithoutAFileOrAKeyTheBuiltInTextsStay) {
    TestFolder folder;
    WriteFile(folder / "lang.ini", "[STRING]\r\n102=Other\r\n");
    EXPECT_EQ(CLanguageFile(folder / "lang.ini").String(101), "Built-in text");
    EXPECT_EQ(CLanguageFile(folder / "missing.ini").String(101), "Built-in text");
    EXPECT_EQ(CLanguageFile("").Value("STRING", "102"), "");
}

TEST(Localisation, MenusKeepTheirIdsStatesAndSeparatorsAndOnlyTheBarTakesPositionTexts) {
    TestFolder folder;
    WriteFile(folder / "lang.ini",
              "[MENU]\r\n2001=Öffnen\r\n2002=Brennen\r\n2003=Tiefer\r\nitem_1=&Datei\r\n");
    CLanguageFile language(folder / "lang.ini");
    ScopedMenu bar(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTestMenu)));
    ASSERT_TRUE(bar);
    HMENU file = GetSubMenu(bar.Get(), 0);
    language.LocaliseMenu(file, false);
    EXPECT_EQ(MenuText(bar.Get(), 0), "&File") << "a pop-up's position text is for the menu bar only";
    language.LocaliseMenu(bar.Get(), true);
    EXPECT_EQ(MenuText(bar.Get(), 0), "&Datei");
    EXPECT_EQ(MenuText(file, 0), "Öffnen");
    EXPECT_EQ(GetMenuItemID(file, 0), 2001u);
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(MenuText(file, 2), "Brennen");
    EXPECT_NE(GetMenuState(file, 2002, MF_BYCOMMAND) & MF_CHECKED, 0u) << "the check mark stays";
    EXPECT_EQ(MenuText(GetSubMenu(file, 3), 0), "Tiefer") << "sub-menus are localised too";
}

TEST(Localisation, ABitmapFileOfTheLanguageReplacesTheBuiltInOne) {
    // A 3 by 2 pixel 24-bit bitmap file beside the program, where BITMAP values point.
    std::string bmp = "BM" +
                      std::string("\x4E\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\3\0\0\0\2\0\0\0\1\0\x18\0", 30) +
                      std::string(24, '\0') + std::string(24, '\x7F');
    bmp.resize(0x4E);
    std::string face = BinFolder() + "\\localisation-test-face.bmp";
    WriteFile(face, bmp);
    TestFolder folder;
    WriteFile(folder / "lang.ini", "[BITMAP]\r\n300=localisation-test-face.bmp\r\n301=no-such-file.bmp\r\n");
    CLanguageFile language(folder / "lang.ini");
    ScopedBitmap loaded(language.Bitmap(300));
    DeleteFileA(face.c_str());
    ASSERT_TRUE(loaded);
    BITMAP info{};
    GetObjectA(loaded.Get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_FALSE(ScopedBitmap(language.Bitmap(301))) << "no file and no built-in bitmap of that id";
}

TEST(LanguageMenu, OffersNamedLanguagesChecksTheOneInUseAndSwitches) {
    TestFolder program;
    CreateDirectoryA((program / "lang").c_str(), nullptr);
    WriteFile(program / "lang\\lang_deu.ini", "[General]\r\nLanguage=Deutsch\r\n");
    WriteFile(program / "lang\\lang_xyz.ini", "[General]\r\nName=Unnamed\r\n");
    WriteFile(program / "lang\\lang_jpn.ini", "[General]\r\nLanguage=Japanese\r\n");
    WriteFile(program / "lang\\language_lookup.ini", "[LANGUAGE]\r\n0x0411=lang_jpn.ini\r\n");
    CreateDirectoryA((program / "Help").c_str(), nullptr);
    WriteFile(program / "Help\\lang_deu.chm", "help");
    Settings settings;
    settings.languageAuto = 0;
    settings.languageFile = "LANG_DEU.INI";
    ScopedMenu menu(CreatePopupMenu());
    AppendMenuA(menu.Get(), MF_STRING, kAutoLanguageCommand, "Auto");
    AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    CLanguageMenu languages(program.Path());
    languages.Build(menu.Get(), settings);

    ASSERT_EQ(languages.Entries().size(), 2u) << "a file without a language name is left out";
    auto checked = [&](UINT command) {
        return (GetMenuState(menu.Get(), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    const LanguageEntry* german = nullptr;
    for (UINT n = 0; n < 2; ++n) {
        const LanguageEntry& entry = languages.Entries()[n];
        EXPECT_EQ(GetMenuItemID(menu.Get(), static_cast<int>(n) + 2), kFirstLanguageCommand + n);
        EXPECT_EQ(checked(kFirstLanguageCommand + n), entry.fileName == "lang_deu.ini");
        if (entry.fileName == "lang_deu.ini") {
            german = &entry;
        }
    }
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(german->helpFile, program / "Help\\lang_deu.chm");
    EXPECT_EQ(HelpFileFor(program.Path(), "lang_jpn.ini"), program / "Help\\lang_eng.chm")
        << "no Japanese help";

    UINT japanese = german == &languages.Entries()[0] ? kFirstLanguageCommand + 1 : kFirstLanguageCommand;
    EXPECT_TRUE(languages.Select(menu.Get(), japanese, settings));
    EXPECT_EQ(settings.languageFile, "lang_jpn.ini");
    EXPECT_TRUE(checked(japanese));
    EXPECT_EQ(checked(kFirstLanguageCommand) + checked(kFirstLanguageCommand + 1), 1);
    EXPECT_FALSE(languages.Select(menu.Get(), kFirstLanguageCommand + 2, settings)) << "no third language";

    EXPECT_TRUE(languages.SelectAuto(menu.Get(), settings, 0x0407));
    EXPECT_EQ(settings.languageFile, "lang_eng.ini") << "no lookup line for German: English";
    EXPECT_TRUE(checked(kAutoLanguageCommand));
    EXPECT_FALSE(checked(japanese));
    settings.languageFile = "lang_deu.ini";
    EXPECT_FALSE(languages.SelectAuto(menu.Get(), settings, 0x0411)) << "Auto while on does nothing";
    EXPECT_EQ(settings.languageFile, "lang_deu.ini");
    settings.languageAuto = 0;
    EXPECT_TRUE(languages.SelectAuto(menu.Get(), settings, 0x0411));
    EXPECT_EQ(settings.languageFile, "lang_jpn.ini");
}
