// The program's side of LinkCore.dll, which supplies the web links of the menus. The library is
// loaded from the program folder on first use and kept, since it remembers the chosen language.
#pragma once

#include <string>

namespace LinkLibrary {

// Passes a language name to the library's operation 4; nothing when the library is missing.
void SetLanguage(const char* language);

// The product web site from the library's first export; empty when the library is missing.
std::string ProductWebAddress();

} // namespace LinkLibrary
