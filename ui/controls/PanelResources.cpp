#include "ui/controls/PanelResources.h"

#include "app/Localisation.h"

namespace {

class CLanguageResources final : public IPanelResources {
public:
    HBITMAP Bitmap(UINT id) const override { return LoadLangBitmap(id); }
    std::string Text(UINT id) const override { return LoadLangString(id); }
};

} // namespace

const IPanelResources& LanguageResources() {
    static const CLanguageResources resources;
    return resources;
}
