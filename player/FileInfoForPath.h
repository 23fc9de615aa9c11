// A file's length and PCM format without playing it, on the caller's thread.
#pragma once

#include "player/Modules.h"

// Chooses the decoder by the extension (after the last dot, lower-cased: mp3, wav or wma) and
// fills info from it; 1 on success, 0 (info cleared) otherwise.
int GetFileInfoForPath(const char* path, FileInfo* info);
// The length in seconds; 0 when the file cannot be read.
int GetFileLength(const char* path);
