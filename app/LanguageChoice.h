// The start-up choices of language file and filename format.
#pragma once

#include <windows.h>

#include <string>

class Settings;

inline constexpr char kDefaultLanguageFile[] = "lang_eng.ini";
inline constexpr char kDefaultFilenameFormat[] = "<Playlist>\\<Title>";

// A project file that stored no language file or no filename format gets the defaults back.
void RepairStartupSettings(Settings& settings);

// The key of a system language in language_lookup.ini: "0x%04X".
std::string LanguageLookupKey(LANGID language);

// The language file that <programFolder>\lang\language_lookup.ini names for the system language;
// empty when it names none.
std::string LanguageFileForSystem(const std::string& programFolder, LANGID systemLanguage);

// With the automatic flag set, the language file named for the system language in
// <programFolder>\lang\language_lookup.ini replaces the stored one (when there is such a line);
// with it clear an empty name becomes the default.
void ChooseLanguageFile(Settings& settings, const std::string& programFolder, LANGID systemLanguage);

// Tells the link library to point its web links at the Japanese site when Japanese was chosen.
void PassLanguageToLinkLibrary(const std::string& languageFile);
