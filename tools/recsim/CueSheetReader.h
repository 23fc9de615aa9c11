// Reads a CDRWIN cue sheet (FILE ... WAVE, TRACK nn AUDIO, INDEX 00/01, PREGAP and the CD-TEXT
// commands) into a disc whose tracks read their audio from the WAV files it names.
#pragma once

#include "tools/recsim/Disc.h"

#include <string>

namespace recsim {

// Throws RecsimError naming the cue sheet and line for anything it cannot burn.
Disc ReadCueSheet(const std::string& cuePath);

} // namespace recsim
