// ID3 tags of MP3 files through id3lib: which field of a track's tags goes into which frame, for
// the ID3v1 tag at the end of a file and the ID3v2 tag at its start. None of these operations
// reports a failure: a missing or read-only file stays as it was and the result is still 1.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"

#include <id3/tag.h>

#include <string>

// A text field of one frame and the member of TrackTags it carries.
struct Id3TextField {
    ID3_FrameID frame;
    ID3_FieldID field;
    TagString TrackTags::*member;
};

// Writes the tags into the file's tag of one version (ID3TT_ID3V1 or ID3TT_ID3V2); the tag of the
// other version is neither read nor touched. An empty field removes its frame; an empty artwork
// path leaves an existing picture alone. The ID3v2 tag is written without padding.
int WriteId3Tag(const char* path, int version, TrackTags tags);

// Fills the fields that a tag of this version carries (missing frames give empty fields), copies
// the MPEG header information into header when it is given and the file has one, and for ID3v2
// saves the picture as id3tag_artwork.jpg in the default capture folder and names it as artwork
// (no picture, no artwork).
int ReadId3Tag(const char* path, int version, TrackTags& tags, Mp3_Headerinfo* header = nullptr);

// The file information page keeps the header information as thirteen 32-bit words.
static_assert(sizeof(Mp3_Headerinfo) == 13 * 4);

// Takes the tag of this version out of the file.
int RemoveId3Tag(const char* path, int version);

// Replaces the first frame with this id by one carrying text in the given field, or removes it when
// text is empty. A frame that was there keeps its text encoding; a new one gets the given encoding.
void SetId3TextFrame(ID3_Tag& tag, ID3_FrameID id, ID3_FieldID field, const char* text, ID3_TextEnc encoding);

// Every string emptied, the track number and the genre number 0.
void ClearTrackTags(TrackTags& tags);

// Links the tag to the file for these tag types; false, with nothing linked, when there is no such
// file, which id3lib would otherwise create on the next update.
bool LinkId3Tag(ID3_Tag& tag, const char* path, flags_t versions);

// "(n)" with the ID3v1 genre number of the genre text.
std::string Id3GenreReference(const char* genre);
