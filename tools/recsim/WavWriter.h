// One captured track: a WAV file that grows while the recorder writes the track.
#pragma once

#include "tools/recsim/Disc.h"
#include "tools/recsim/WritePacer.h"

#include <optional>
#include <string>

namespace recsim {

// Writes the 44-byte header with the final sizes, then the track's audio in pieces through the
// one open handle, so that a folder watcher sees the file added and then modified as it grows.
// With pauseSeconds, writing stops that long when half of the audio is written.
void WriteTrackWav(const std::string& path, const Track& track, WritePacer& pacer,
                   std::optional<double> pauseSeconds);

} // namespace recsim
