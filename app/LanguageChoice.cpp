#include "app/LanguageChoice.h"

#include "app/Settings.h"
#include "app/LinkLibrary.h"

#include <cstdio>
#include <vector>

void RepairStartupSettings(Settings& settings) {
    if (settings.languageFile.empty()) {
        settings.languageAuto = 1;
        settings.languageFile = kDefaultLanguageFile;
    }
    if (settings.filenameFormat.empty()) {
        settings.filenameFormat = kDefaultFilenameFormat;
    }
}

std::string LanguageLookupKey(LANGID language) {
    char key[16];
    snprintf(key, sizeof key, "0x%04X", static_cast<unsigned>(language));
    return key;
}

std::string LanguageFileForSystem(const std::string& programFolder, LANGID systemLanguage) {
    std::vector<char> value(10200, '\0');
    std::string lookup = programFolder + "\\lang\\language_lookup.ini";
    GetPrivateProfileStringA("LANGUAGE", LanguageLookupKey(systemLanguage).c_str(), "", value.data(),
                             static_cast<DWORD>(value.size()), lookup.c_str());
    return value.data();
}

void ChooseLanguageFile(Settings& settings, const std::string& programFolder, LANGID systemLanguage) {
    if (settings.languageAuto != 0) {
        std::string file = LanguageFileForSystem(programFolder, systemLanguage);
        if (!file.empty()) {
            settings.languageFile = file;
        }
    } else if (settings.languageFile.empty()) {
        settings.languageFile = kDefaultLanguageFile;
    }
}

void PassLanguageToLinkLibrary(const std::string& languageFile) {
    if (lstrcmpiA(languageFile.c_str(), "Lang_jpn.ini") == 0) {
        LinkLibrary::SetLanguage("Japanese");
    }
}
