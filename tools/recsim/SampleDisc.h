// The built-in sample disc: three tracks of generated music with full CD-TEXT and real pregaps.
#pragma once

#include "tools/recsim/Disc.h"

namespace recsim {

// Track n (from 1) lasts trackSeconds plus (n - 1) fifths of a second, so that no two tracks
// have the same length.
Disc MakeSampleDisc(double trackSeconds);

} // namespace recsim
