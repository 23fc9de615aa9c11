// The library the music player double serves, read from a file that a test writes.
//
// One object a line, UTF-8: its level ("source", "playlist", "track" or "artwork"), then
// tab-separated name=value pairs. Each line belongs to the last line of the level above it.
// The names are the player's member names (Name, Kind, Artist, Year, Format, ...) and these:
//   File=<path>     an artwork's picture, which SaveArtworkToFile copies
#pragma once

#include <map>
#include <string>
#include <vector>

struct LibraryNode {
    std::map<std::wstring, std::wstring> values;
    std::vector<LibraryNode> children;

    // Empty when the line did not give the name.
    std::wstring Text(const std::wstring& name) const;
    long Number(const std::wstring& name) const;
};

// The root's children are the sources. False when the file cannot be read or a line has no
// parent or an unknown level.
bool ReadPlayerLibrary(const std::string& path, LibraryNode& root);
