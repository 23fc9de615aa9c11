// What the options dialog asks of the user and of the shell beyond its own controls: questions,
// the folder browser and a web page. An interface, so that a test can answer in the user's place.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class IOptionsPrompts {
public:
    virtual ~IOptionsPrompts() = default;

    // A message box; its answer (IDYES, IDNO...).
    virtual int Ask(HWND owner, const std::string& text, const std::string& caption, UINT flags) = 0;
    // The folder the user confirms in the shell's browser, which opens at start; nothing when the
    // user cancels or picks a folder that has no file-system path.
    virtual std::optional<std::string> BrowseForFolder(HWND owner, const std::string& start) = 0;
    virtual void OpenWebPage(HWND owner, const std::string& address) = 0;
};

// The real message box, folder browser and browser.
IOptionsPrompts& SystemPrompts();
