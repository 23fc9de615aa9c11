// What the catalogue tests share: discs made in memory and on disk.
#pragma once

#include "project/DiscRecord.h"

#include <memory>
#include <string>

namespace qvltest {

// A disc with the label and folder set directly, as the project loader makes them.
std::unique_ptr<DiscRecord> MakeDisc(const std::string& label, const std::string& folder);

// Creates the file with a few bytes (its folder must exist) and adds it to the disc as a track.
void AddTrackFile(DiscRecord& disc, const std::string& path);

} // namespace qvltest
