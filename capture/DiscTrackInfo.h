// The per-track record of one burn session: what the lead-in's CD-TEXT and the music player tell
// about the disc (record 0) and each of its tracks (records 1 to 100).
#pragma once

#include <cstddef>
#include <cstdint>

// A fixed text field holds at most kTextFieldSize - 1 characters and always its terminator.
constexpr int kTextFieldSize = 255;
constexpr int kPathFieldSize = 260;

// Plain arrays only: the table is zeroed and copied in one step and its layout is shared.
struct DiscTrackInfo {
    char title[kTextFieldSize];
    char artist[kTextFieldSize];
    char album[kTextFieldSize];
    char year[kTextFieldSize];
    char comment[kTextFieldSize];
    char genre[kTextFieldSize];
    int32_t genreId;
    char composer[kTextFieldSize];
    char originalArtist[kTextFieldSize];
    char copyright[kTextFieldSize];
    char url[kTextFieldSize];
    char encodedBy[kTextFieldSize];
    char artworkPath[kPathFieldSize];
    int32_t trackNumber;
};

// Indexed by CD track number: 0 is the disc, 1 to 100 the tracks.
constexpr int kTrackInfoCount = 101;

static_assert(sizeof(DiscTrackInfo) == 3076);
static_assert(sizeof(DiscTrackInfo[kTrackInfoCount]) == 310676);
static_assert(offsetof(DiscTrackInfo, genreId) == 1532);
static_assert(offsetof(DiscTrackInfo, composer) == 1536);
static_assert(offsetof(DiscTrackInfo, artworkPath) == 2811);
static_assert(offsetof(DiscTrackInfo, trackNumber) == 3072);
