// A converted track takes over the tags and the cover of the source file the user drops on the
// track panel: what the source knows replaces what the track has, and what it does not know stays.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"
#include "finish/MediaInfo.h"

#include <string>

// The source's non-empty texts (title, artist, album, genre, year, composer) and its track
// number, when it has one, over the record's.
void OverlayMediaInfo(const MediaInfoResult& info, TrackTags& tags);

// Reads the source and writes its tags into the target (MP3: its ID3v2 tag, and its ID3v1 tag when
// it has one; WMA: through the WMA library), its cover as the JPEG cover picture through
// coverPath. 1 when the target was written; 0 when the source could not be read or the target is
// of no kind that takes tags.
int TagTrackFromSource(const std::string& source, const std::string& target, const std::string& coverPath);
