#include "tools/recsim/Disc.h"

#include "tools/recsim/Errors.h"

namespace recsim {

std::vector<TrackPosition> TrackPositions(const Disc& disc) {
    std::vector<TrackPosition> positions;
    uint32_t position = 0;
    for (const Track& track : disc.tracks) {
        positions.push_back({position, position + track.pregapFrames});
        position += track.pregapFrames + track.frames;
    }
    return positions;
}

uint32_t LeadOutPosition(const Disc& disc) {
    if (disc.tracks.empty()) {
        return 0;
    }
    return TrackPositions(disc).back().index1 + disc.tracks.back().frames;
}

void CheckDiscFits(const Disc& disc) {
    if (disc.tracks.empty()) {
        throw RecsimError("the disc has no tracks");
    }
    if (disc.tracks.size() > kMaxTracks) {
        throw RecsimError("the disc has " + std::to_string(disc.tracks.size()) +
                          " tracks; a CD holds at most 99");
    }
    if (LeadOutPosition(disc) >= 100 * 60 * kFramesPerSecond) {
        throw RecsimError("the disc is longer than 99:59:74");
    }
}

} // namespace recsim
