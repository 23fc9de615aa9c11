// From the per-track table of a burn to the metadata record of one track.
#pragma once

#include "capture/DiscTrackInfo.h"
#include "companions/AudioTagCore/TrackTags.h"

#include <string>

// Fills the tags of track n (0 = the disc) from the table; a track without a title is named after
// the disc. The fields the table does not know of (part of set, publisher, album artist and the
// further strings) stay as they were. 0, with the tags untouched, when there is no table or n is
// not a table index; else 1.
int BuildTrackTags(const DiscTrackInfo* table, int n, const std::string& discLabel, TrackTags& tags);

// The texts the filename format names a file by, as the table holds them (no title made up).
TrackTags NamingTexts(const DiscTrackInfo* table, int n);
