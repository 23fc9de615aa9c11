// What the file information dialog and the track panel decide without a window: the kind of a
// file, the summary's texts, the reading of typed fields, the copy between the two tag records,
// and the neighbouring tracks of the catalogue that Previous and Next step to.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"
#include "finish/MediaInfo.h"

#include <id3/globals.h>

#include <windows.h>

#include <cstdint>
#include <string>

class DiscCatalogue;

enum FileKind { kFileMp3 = 0, kFileWma = 1, kFileOther = 2 };

// By the extension, in any case.
FileKind FileKindOfPath(const std::string& path);

// "%d kbps (VBR)" of the average for VBR files, else "%d kbps" (kilo as 1000, rounded down).
std::string BitrateText(const AudioSummary& summary);
// Bytes in mebibytes, "%.2f MB".
std::string SizeText(uint64_t bytes);
// Local time of the moment, "%H:%M:%S %B %d, %Y".
std::string DateText(const FILETIME& moment);

// The genre number of an "(n)" reference at the start of the text; -1 when there is none.
int GenreReferenceNumber(const char* genre);
// The genre's name for the catalogue: a "(n)" reference becomes the name of genre n.
std::string GenreName(const char* genre);

// The track number typed into a field: a decimal number from 0 to 500 replaces number; any other
// text leaves it as it was.
void ReadTrackNumber(const std::string& text, int32_t& number);

// Track number, title, artist, album, year and comment; the genre stays.
void CopyCommonFields(const TrackTags& from, TrackTags& to);

// Whether the file carries a tag of this version: ID3v1 in its last 128 bytes, ID3v2 at its start.
bool HasId3Tag(const std::string& path, int version);

// The MPEG header information as the summary shows it.
AudioSummary SummaryOfMp3Header(const Mp3_Headerinfo& header);

// The tracks next to a file, as Previous and Next find them.
class ITrackSteps {
public:
    virtual ~ITrackSteps() = default;
    // The track step places (+1 or -1) from the one at path in the same disc; empty at a disc's
    // end or when path is not a track.
    virtual std::string Neighbour(const std::string& path, int step) = 0;
};

// The catalogue's discs searched in order for the track (path compared without regard to case),
// under the catalogue's lock.
class CCatalogueSteps final : public ITrackSteps {
public:
    explicit CCatalogueSteps(DiscCatalogue& catalogue) : m_catalogue(catalogue) {}
    std::string Neighbour(const std::string& path, int step) override;

private:
    DiscCatalogue& m_catalogue;
};
