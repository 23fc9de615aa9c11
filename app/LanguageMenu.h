// The Language menu of the manager window: one entry per language file found in the program's
// lang folder, and the automatic choice by the system language.
#pragma once

#include "res/ids/ManagerIds.h"

#include <windows.h>

#include <string>
#include <vector>

class Settings;

// The commands of the Language menu, as the manager window's menu resource numbers them.
inline constexpr UINT kFirstLanguageCommand = ID_LANGUAGE_FIRST;
inline constexpr UINT kLastLanguageCommand = ID_LANGUAGE_LAST;
inline constexpr UINT kAutoLanguageCommand = ID_LANGUAGE_AUTO;

struct LanguageEntry {
    std::string fileName; // lower case, as the settings store it
    std::string title;    // the file name without its extension
    std::string helpFile;
};

// The help file of a language file: Help\<title>.chm when it exists, else the English one.
std::string HelpFileFor(const std::string& programFolder, const std::string& languageFile);

class CLanguageMenu {
public:
    explicit CLanguageMenu(std::string programFolder) : m_programFolder(std::move(programFolder)) {}

    // Appends an item per language file that names its language, in the order the file system
    // gives them, and checks the one in use (or "Auto"). Built once.
    void Build(HMENU languageMenu, const Settings& settings);
    // A language item chosen: automatic off, that file in use. False for any other command.
    bool Select(HMENU languageMenu, UINT command, Settings& settings) const;
    // "Auto" chosen: the system language's file, else English. False when it was on already.
    bool SelectAuto(HMENU languageMenu, Settings& settings, LANGID systemLanguage) const;

    const std::vector<LanguageEntry>& Entries() const { return m_entries; }

private:
    void UncheckAll(HMENU languageMenu) const;

    std::string m_programFolder;
    std::vector<LanguageEntry> m_entries;
};
