// What a source file dropped on the track panel knows of itself: its tags, its protection and its
// cover, read from the file through TagLib: MPEG-4 files (iTunes' own formats, QuickTime movies)
// through its MP4 reader, FLAC, Ogg, MP3, WMA and the rest through theirs. A file that cannot be
// read gives an empty result, never an error that travels further.
#pragma once

#include <string>

struct MediaInfoResult {
    std::string title;
    std::string artist;
    std::string album;
    std::string genre;
    std::string year;
    std::string composer;
    std::string collectionId;
    int trackNumber = 0;
    bool isProtected = false;
};

// The audio properties the file information dialog shows for a file that is not an MP3.
struct AudioSummary {
    int bitrate = 0;        // bits per second
    int averageBitrate = 0; // bits per second, for VBR files
    bool vbr = false;
    int sampleRate = 0;
    bool stereo = false;
};

// Fills result from the file's own tags; false, with result emptied, when the file cannot be read.
// Where Windows Media Player is at hand the track panel asks it first (GetMediaInfo).
bool ReadMediaInfoFromFile(const char* path, MediaInfoResult& result);

// Writes the file's cover picture (the front cover when there are several) to imagePath; false when
// it has none or cannot be read.
bool SaveMediaCover(const char* path, const char* imagePath);

// False, with summary emptied, when the file cannot be read.
bool ReadAudioSummary(const char* path, AudioSummary& summary);
