// The disc's CD-TEXT as the packs of one language block, in the order they repeat in the lead-in.
#pragma once

#include "tools/recsim/Disc.h"

#include <array>
#include <cstdint>
#include <vector>

namespace recsim {

inline constexpr size_t kPackBytes = 18;
using CdTextPack = std::array<uint8_t, kPackBytes>;

// Text packs (types 0x80 to 0x85 and 0x87, each only when some entry has such a text) followed by
// the three size-information packs; sequence numbers and checks filled in. Throws when the texts
// need more packs than one block holds. A disc without any text has no packs at all.
std::vector<CdTextPack> BuildCdTextPacks(const Disc& disc);

} // namespace recsim
