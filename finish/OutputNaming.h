// Where a converted track goes: the burn session's output folder and the file name that the
// user's filename format gives the track.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"
#include "finish/OutputFormat.h"

#include <string>

// The folder setting with a closing "\", cleaned as a path and, when relative, put on the system
// drive.
std::string SessionOutputFolder(const std::string& outputFolderSetting);

// The format a track is written in. WMA only while the WMA library is there (its codec information
// manager exists); MP3 takes its place otherwise. WAV stands for WAV and any unknown value.
OutputFormat WrittenFormat(OutputFormat chosen, bool wmaAvailable);

// "MP3", "WMA" or "WAV", for a format that WrittenFormat gives.
const char* OutputExtension(OutputFormat written);

// The path below the session folder (which ends in "\") that the filename format makes for the
// track from its title, artist, album and genre, numbered Name1, Name2, ... when the plain name is
// taken; the folders it names are created. An empty format names the file after the track's
// title; a missing track (no table, or a number outside it) gives "<disc label>-trackNN". Every value is
// cleaned of separators, wildcards and control characters; folder names lose trailing dots and blanks ("."
// and ".." become "-"), device names such as "CON" get a "-", and the base name is cut so that the whole
// path, number and extension included, stays within 259 characters. The result always lies
// below the session folder.
std::string OutputPathFor(const std::string& sessionFolder, const std::string& filenameFormat,
                          const TrackTags* track, int trackNumber, const std::string& discLabel,
                          const char* extension);
