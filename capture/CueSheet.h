// The cue sheet the burning application sent to the virtual recorder: where each track starts and
// how long it plays.
#pragma once

#include <cstdint>

constexpr int kMaxCueTracks = 99;

// One record a track; times are absolute, in frames of 1/75 second.
struct CueTrackTime {
    uint16_t minute; // of the track's start (its last index entry)
    uint16_t second;
    uint32_t frame;
    uint32_t start;
    uint32_t length; // from the start to the next entry of the cue sheet
    uint32_t pregap; // from the track's previous index entry to its start
};

// Reads the cue sheet's entries (8 bytes each, as sent with SEND CUE SHEET) into times[t - 1] for
// track t, all kMaxCueTracks records zeroed first; count = the highest track number met. Only the
// first 10,240 bytes count; track numbers other than 1 to 99 and the lead-out are passed over, and
// nothing after the lead-out is read. 1 on success, 0 when the file cannot be opened or read or
// is empty.
int ParseCueSheet(const char* path, CueTrackTime* times, int* count);
