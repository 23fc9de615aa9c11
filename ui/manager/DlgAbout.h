// The about box: the program's name, version, purpose and copyright, in the language in use.
#pragma once

#include "app/framework/Dialog.h"

#include <string>

// The name line with its last word, the version number, replaced by version: the translations
// keep the number last, whatever words come before it.
std::string AboutVersionLine(const std::string& nameLine, const std::string& version);

class CDlgAbout : public CDialogBase {
public:
    CDlgAbout();

    // Modal over owner until OK, Escape or the close box ends it.
    void Run(HINSTANCE instance, HWND owner);

protected:
    BOOL OnInitDialog() override;
};
