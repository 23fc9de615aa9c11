// Metadata from the music player: once a burn session, the burned playlist is looked up in the
// running iTunes, by its CD-TEXT titles or by the track lengths of the cue sheet, and its track
// data completes the per-track table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class BurnTrackTable;

// Asked whenever a lookup may take long: true once the conversion is to stop.
using StopQuery = std::function<bool()>;

// Completes the per-track table of a burn from the running music player.
class IPlayerLookup {
public:
    virtual int LookupByCdText(BurnTrackTable& table, const StopQuery& stopRequested) = 0;
    virtual int LookupByCueSheet(BurnTrackTable& table, const std::string& cueSheetPath,
                                 const StopQuery& stopRequested) = 0;

protected:
    ~IPlayerLookup() = default;
};

// The lookup the capture intake uses unless it is given another.
IPlayerLookup& ITunesLookup();

// A track length in CD frames as the player shows a track's time (TrackTimeText).
std::string PlayerTimeText(uint32_t frames);
