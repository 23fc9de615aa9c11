// From the per-track table of a burn to the metadata record of one track.
#pragma once

#include "capture/DiscTrackInfo.h"
#include "companions/AudioTagCore/TrackTags.h"

#include <memory>
#include <string>

// Fills the tags of track n (0 = the disc) from the table; a track without a title is named after
// the disc. The fields the table does not know of (part of set, publisher, album artist and the
// further strings) stay as they were. 0, with the tags untouched, when there is no table or n is
// not a table index; else 1.
int BuildTrackTags(const DiscTrackInfo* table, int n, const std::string& discLabel, TrackTags& tags);

// The texts the filename format names a file by, as the table holds them (no title made up).
TrackTags NamingTexts(const DiscTrackInfo* table, int n);

// The table of the burn being converted: record 0 the disc, 1 to 100 its tracks, filled from the
// lead-in and completed from the music player. Only the conversion thread touches it while that
// runs; the user-interface thread only once it is stopped.
class BurnTrackTable {
public:
    BurnTrackTable() : records(std::make_unique<DiscTrackInfo[]>(kTrackInfoCount)) {}

    void Clear();
    // Clears the table, then stores the lead-in's CD-TEXT; false when the file cannot be read.
    bool LoadLeadIn(const std::string& leadInPath);

    DiscTrackInfo* Records() { return records.get(); }
    const DiscTrackInfo* Records() const { return records.get(); }
    int CdTextTrackCount() const { return cdTextTrackCount; }

private:
    std::unique_ptr<DiscTrackInfo[]> records;
    int cdTextTrackCount = 0;
};
