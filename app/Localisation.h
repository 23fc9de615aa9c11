// Every text and bitmap a window shows goes through here, so that a language file in the
// program's Lang folder can replace it: strings by id, dialog and control texts by template and
// control id, menu texts by command id, bitmaps by resource id, free texts by their English
// wording. Every lookup reads the file afresh; nothing is cached, and no lookup runs in a loop.
#pragma once

#include <windows.h>

#include <string>

// One language file; an empty path is none, and every lookup then comes back empty.
class CLanguageFile {
public:
    explicit CLanguageFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }
    // The value as written, cut at 10,240 characters; empty when the key or the file is missing.
    std::string RawValue(const std::string& section, const std::string& key) const;
    // With the two-character escapes \n (line feed) and \t (tab) applied.
    std::string Value(const std::string& section, const std::string& key) const;
    // Section STRING, else the program's own string-table text.
    std::string String(UINT id) const;
    // The caption and every descendant's text that the file has for the template.
    void LocaliseDialog(HWND window, int templateId) const;
    // Command texts by id; with menuBar, the top-level pop-ups' texts by position ("item_%d").
    void LocaliseMenu(HMENU menu, bool menuBar) const;
    // The file's image for the bitmap id, else the program's own bitmap; null when neither loads.
    // The caller owns the bitmap.
    HBITMAP Bitmap(UINT resourceId) const;
    std::string Translate(const std::string& text) const;

private:
    std::string m_path;
};

// The language file the settings name now: program folder\Lang\<file>; none when unnamed.
CLanguageFile CurrentLanguage();

// The lookups through the current language file.
std::string ReadLangValue(const std::string& section, const std::string& key);
std::string LoadLangString(UINT id);
// The string with that id as a format, its one %s filled with value.
std::string FormatLangString(UINT formatId, const std::string& value);
void LocaliseDialog(HWND window, int templateId);
void LocaliseMenu(HMENU menu, bool menuBar = false);
HBITMAP LoadLangBitmap(UINT resourceId);
std::string Translate(const std::string& text);

// Sends WM_LANGUAGE_CHANGED to every descendant of the window (the window itself excluded).
void BroadcastLanguageChanged(HWND window);
