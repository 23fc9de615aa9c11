#include "app/LanguageMenu.h"

#include "app/LanguageChoice.h"
#include "app/Settings.h"
#include "app/framework/Scoped.h"

#include <algorithm>
#include <cctype>

namespace {

// The file names are ASCII by their pattern; folding them needs no code page.
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

std::string HelpFileFor(const std::string& programFolder, const std::string& languageFile) {
    std::string title = languageFile.substr(0, languageFile.find_last_of('.'));
    std::string help = programFolder + "\\Help\\" + title + ".chm";
    return !title.empty() && Exists(help) ? help : programFolder + "\\Help\\lang_eng.chm";
}

void CLanguageMenu::Build(HMENU languageMenu, const Settings& settings) {
    m_entries.clear();
    WIN32_FIND_DATAA found;
    ScopedFindHandle find(FindFirstFileA((m_programFolder + "\\lang\\lang_???.ini").c_str(), &found));
    for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &found) != 0) {
        std::string path = m_programFolder + "\\lang\\" + found.cFileName;
        char name[1024] = "";
        GetPrivateProfileStringA("General", "Language", "", name, sizeof name, path.c_str());
        // The command ids have room for a hundred languages; further files are not offered.
        if (name[0] == '\0' || m_entries.size() > kLastLanguageCommand - kFirstLanguageCommand) {
            continue;
        }
        std::string fileName = Lower(found.cFileName);
        UINT command = kFirstLanguageCommand + static_cast<UINT>(m_entries.size());
        AppendMenuA(languageMenu, MF_STRING, command, name);
        if (settings.languageAuto == 0 && lstrcmpiA(fileName.c_str(), settings.languageFile.c_str()) == 0) {
            CheckMenuItem(languageMenu, command, MF_BYCOMMAND | MF_CHECKED);
        }
        std::string title = fileName.substr(0, fileName.find_last_of('.'));
        m_entries.push_back({fileName, title, HelpFileFor(m_programFolder, fileName)});
    }
    if (settings.languageAuto != 0) {
        CheckMenuItem(languageMenu, kAutoLanguageCommand, MF_BYCOMMAND | MF_CHECKED);
    }
}

bool CLanguageMenu::Select(HMENU languageMenu, UINT command, Settings& settings) const {
    if (command < kFirstLanguageCommand || command - kFirstLanguageCommand >= m_entries.size()) {
        return false;
    }
    if (settings.languageAuto != 0) {
        CheckMenuItem(languageMenu, kAutoLanguageCommand, MF_BYCOMMAND | MF_UNCHECKED);
        settings.languageAuto = 0;
    }
    UncheckAll(languageMenu);
    CheckMenuItem(languageMenu, command, MF_BYCOMMAND | MF_CHECKED);
    settings.languageFile = m_entries[command - kFirstLanguageCommand].fileName;
    return true;
}

bool CLanguageMenu::SelectAuto(HMENU languageMenu, Settings& settings, LANGID systemLanguage) const {
    if (settings.languageAuto != 0) {
        return false;
    }
    CheckMenuItem(languageMenu, kAutoLanguageCommand, MF_BYCOMMAND | MF_CHECKED);
    settings.languageAuto = 1;
    UncheckAll(languageMenu);
    std::string file = LanguageFileForSystem(m_programFolder, systemLanguage);
    settings.languageFile = !file.empty() ? file : kDefaultLanguageFile;
    return true;
}

void CLanguageMenu::UncheckAll(HMENU languageMenu) const {
    for (UINT command = kFirstLanguageCommand; command <= kLastLanguageCommand; ++command) {
        CheckMenuItem(languageMenu, command, MF_BYCOMMAND | MF_UNCHECKED);
    }
}
