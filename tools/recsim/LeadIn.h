// leadin.dat: the lead-in's sub-channel as the recorder keeps it, one 96-byte block per sector.
#pragma once

#include "tools/recsim/CdTextPacks.h"
#include "tools/recsim/Disc.h"

#include <cstdint>
#include <vector>

namespace recsim {

inline constexpr size_t kSubchannelBlockBytes = 96;

// Each block's bytes are sub-channel symbols: bit 7 P, bit 6 Q, bits 5-0 the R-W channels. R-W
// carry the CD-TEXT packs (four per block, the whole set repeated for the length of the lead-in),
// or nothing when packs is empty; Q carries the table of contents.
std::vector<uint8_t> BuildLeadIn(const Disc& disc, const std::vector<CdTextPack>& packs);

} // namespace recsim
