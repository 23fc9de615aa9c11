#include "companions/LinkCore/LinkCore.h"

#include <windows.h>

namespace {

struct SiteLanguage {
    const char* name;
    const char* url;
};

constexpr SiteLanguage kSites[] = {
    {"English", "https://www.quaverlane.com/"},
    {"Japanese", "https://www.quaverlane.com/ja/"},
};

// Written only from the user-interface thread at start-up; a pointer store is atomic.
const SiteLanguage* volatile g_site = &kSites[0];

} // namespace

LINKCORE_API const char* LinkProductUrl() {
    return g_site->url;
}

LINKCORE_API void LinkSetLanguage(const char* language) {
    const SiteLanguage* chosen = &kSites[0];
    for (const SiteLanguage& site : kSites) {
        if (language != nullptr && lstrcmpiA(site.name, language) == 0) {
            chosen = &site;
        }
    }
    g_site = chosen;
}
