// The genre table of ID3v1: the standard list with the Winamp extensions, 148 names numbered from 0.
// Shared with the WMA library, whose genre boxes offer the same names.
#pragma once

#include "companions/AudioTagCore/AudioTagCore.h"

#include <cstddef>

class AUDIOTAGCORE_API CGenreInfo {
public:
    static int GetGenreCount();
    // The name of a genre number; empty for a number outside the table.
    static const char* GetGenreIDStr(int id);
    // The number of a genre text: a leading "(n)" reference, as ID3 tags store genres, names genre n;
    // otherwise the text is looked up as a name without regard to case. A text that names no genre
    // gives the number of "Other", so that it still fits the one genre byte of an ID3v1 tag.
    static int GetGenreID(const char* text);
    // Copies the name of a genre number into the buffer, cut to fit; 1 when the number is in the
    // table, else 0 with the buffer emptied.
    static int LookupGenre(int id, char* buffer, size_t size);
    static int GetOtherGenreID();
};
