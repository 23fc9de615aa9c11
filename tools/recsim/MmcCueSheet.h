// cuesheet.dat: the cue sheet that the burning application sends with SEND CUE SHEET.
#pragma once

#include "tools/recsim/Disc.h"

#include <cstdint>
#include <vector>

namespace recsim {

inline constexpr size_t kCueEntryBytes = 8;

// Eight-byte entries (CTL/ADR, TNO, INDEX, DATA FORM, SCMS, absolute MIN, SEC, FRAME, all binary):
// the lead-in, then index 0 (when the track has a pregap) and index 1 of every track, then the
// lead-out.
std::vector<uint8_t> BuildMmcCueSheet(const Disc& disc, bool withCdText);

} // namespace recsim
