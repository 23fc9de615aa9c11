#include "app/LinkLibrary.h"

#include "app/framework/AppFolders.h"
#include "companions/LinkCore/LinkCore.h"

#include <windows.h>

namespace {

FARPROC Export(LinkCoreOrdinal ordinal) {
    static const HMODULE library = LoadLibraryA((ProgramFolder() + "\\LinkCore.dll").c_str());
    return library != nullptr ? GetProcAddress(library, MAKEINTRESOURCEA(ordinal)) : nullptr;
}

} // namespace

void LinkLibrary::SetLanguage(const char* language) {
    if (auto setLanguage = reinterpret_cast<LinkSetLanguageFn>(Export(kLinkSetLanguage))) {
        setLanguage(language);
    }
}

std::string LinkLibrary::ProductWebAddress() {
    auto productUrl = reinterpret_cast<LinkProductUrlFn>(Export(kLinkProductUrl));
    const char* address = productUrl != nullptr ? productUrl() : nullptr;
    return address != nullptr ? address : "";
}
