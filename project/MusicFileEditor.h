// The tag editor that suits a music file, for the catalogue's code that reads or rewrites tags:
// the program's own for MP3, the WMA library's for WMA, none for anything else.
#pragma once

#include "companions/AudioTagCore/MediaMetaDataEdit.h"

#include <memory>
#include <string>

// Whether the last four characters of the path are the extension (".MP3"), whatever their case.
bool HasExtension(const std::string& path, const char* extension);

// An editor already given the path, with the ID3 choices of the settings for an MP3 file; null for
// a file of another kind, or a WMA file when the WMA library is missing.
ScopedMetaDataEditor EditorFor(const std::string& path);
