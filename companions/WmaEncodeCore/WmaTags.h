// The tags of a WMA file, through TagLib's ASF support: the one place that says which ASF attribute
// holds which field, for the encoder (tags of a new file) and the metadata editor alike.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"

#include <string>

namespace WmaTags {

// Fills the text fields and the track number from the file's tags; artworkPath is left alone (the
// picture is saved on request, with SavePicture). False when the file is not a readable WMA file.
bool Read(const char* path, TrackTags& tags);

// Writes every field of tags (an empty one removes its attribute), or only the title. When the
// artwork path names a readable picture file it becomes the file's picture; otherwise the picture
// the file has stays. False when the file is not a writable WMA file.
bool Write(const char* path, const TrackTags& tags, bool titleOnly);

// Writes the file's picture (its front cover, else its first) to imagePath; false when it has none
// or the picture file cannot be written.
bool SavePicture(const char* path, const char* imagePath);

// Makes the picture in imagePath the file's only picture; false when imagePath holds no picture
// file or the WMA file cannot be written.
bool SetPicture(const char* path, const char* imagePath);

// The MIME type of picture bytes by their signature; empty for anything else.
std::string PictureMimeType(const std::string& bytes);

} // namespace WmaTags
