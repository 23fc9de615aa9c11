// Where an image panel takes its pictures and its tooltip texts from. In the program that is the
// language in use, so a language file can replace both; a test hands in pictures of its own.
#pragma once

#include <windows.h>

#include <string>

class IPanelResources {
public:
    // The picture with that resource id, owned by the caller; null when there is none.
    virtual HBITMAP Bitmap(UINT id) const = 0;
    // The text with that string id.
    virtual std::string Text(UINT id) const = 0;

protected:
    ~IPanelResources() = default;
};

// The current language's bitmaps and strings (the language file's, else the program's own).
const IPanelResources& LanguageResources();
