#include "tests/project/CatalogueTestSupport.h"

#include "tests/support/TestSupport.h"

namespace qvltest {

std::unique_ptr<DiscRecord> MakeDisc(const std::string& label, const std::string& folder) {
    auto disc = std::make_unique<DiscRecord>();
    disc->SetLabel(label);
    disc->SetFolder(folder);
    return disc;
}

void AddTrackFile(DiscRecord& disc, const std::string& path) {
    WriteFile(path, "audio of " + path);
    disc.AddTrack("title", "artist", "album", "genre", path, "0:01");
}

} // namespace qvltest
